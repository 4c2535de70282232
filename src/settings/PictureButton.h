#pragma once
#include <QLabel>
#include <functional>

// A picture used as a button: while the left button is down its pressed image lies
// over it. The action runs on the press; one press is one action, holding does not
// repeat.
class PictureButton : public QLabel {
    Q_OBJECT
public:
    enum class Arrow { Up, Down, Swap };
    // pressedName names the pressed image (its own control, shown while pressed).
    PictureButton(Arrow arrow, const QString& pressedName, QWidget* parent = nullptr);

    void setAction(std::function<void()> action) { action_ = std::move(action); }
    // The action finishes within the press (it opens a dialog): the pressed image goes
    // away when it returns instead of on the release.
    void setReleaseAfterAction(bool on) { releaseAfterAction_ = on; }
    QLabel* pressedImage() const { return pressed_; }

    static QPixmap drawArrow(Arrow arrow, bool pressed);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* pressed_;
    std::function<void()> action_;
    bool releaseAfterAction_ = false;
};

#pragma once
#include <QGroupBox>
#include <QLabel>

// One line of text from a server or a file: shown plain, cut with "…" where the room
// ends, so no text can widen its window. When cut, the whole text is the tooltip.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    // Paths read best cut in the middle (Qt::ElideMiddle).
    explicit ElidedLabel(QWidget* parent = nullptr, Qt::TextElideMode mode = Qt::ElideRight);
    void setFullText(const QString& text);
    QString fullText() const { return full_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void elide();
    QString full_;
    Qt::TextElideMode mode_;
};

// A frame whose caption is cut the same way; the caption never sets its width. While
// the caption is cut its tooltip is the whole caption, else the frame's own tooltip.
class ElidedGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit ElidedGroupBox(QWidget* parent = nullptr);
    void setFullTitle(const QString& title);
    void setOwnToolTip(const QString& tip);
    QString fullTitle() const { return full_; }
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void elide();
    QString full_;
    QString ownToolTip_;
};

// A tooltip that shows the text as it is, even when it looks like markup.
QString plainToolTip(const QString& text);

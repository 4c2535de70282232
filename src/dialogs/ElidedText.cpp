#include "dialogs/ElidedText.h"

#include <QFontMetrics>
#include <QTextDocument>

namespace {
// A preferred width that lets a long text ask for room without ever demanding it.
constexpr int kLongestPreferred = 240;
}  // namespace

QString plainToolTip(const QString& text) {
    return text.isEmpty() ? QString() : Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

ElidedLabel::ElidedLabel(QWidget* parent, Qt::TextElideMode mode) : QLabel(parent), mode_(mode) {
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ElidedLabel::setFullText(const QString& text) {
    if (text == full_ && !text.isEmpty()) return;
    full_ = text;
    updateGeometry();
    elide();
}

QSize ElidedLabel::sizeHint() const {
    const QFontMetrics fm(font());
    const QMargins m = contentsMargins();
    return {std::min(fm.horizontalAdvance(full_), kLongestPreferred) + m.left() + m.right(),
            fm.height() + m.top() + m.bottom()};
}

QSize ElidedLabel::minimumSizeHint() const {
    const QFontMetrics fm(font());
    const QMargins m = contentsMargins();
    return {fm.horizontalAdvance(QStringLiteral("…")) + m.left() + m.right(), fm.height() + m.top() + m.bottom()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::showEvent(QShowEvent* event) {
    QLabel::showEvent(event);
    elide();
}

void ElidedLabel::elide() {
    // Until it is on screen the label has no real width: it holds the whole text.
    const int room = isVisible() ? contentsRect().width() : QWIDGETSIZE_MAX;
    const QString shown = fontMetrics().elidedText(full_, mode_, room);
    if (shown != text()) setText(shown);
    setToolTip(shown == full_ ? QString() : plainToolTip(full_));
}

ElidedGroupBox::ElidedGroupBox(QWidget* parent) : QGroupBox(parent) {}

void ElidedGroupBox::setFullTitle(const QString& title) {
    full_ = title;
    elide();
}

void ElidedGroupBox::setOwnToolTip(const QString& tip) {
    ownToolTip_ = tip;
    elide();
}

QSize ElidedGroupBox::minimumSizeHint() const { return QWidget::minimumSizeHint(); }

void ElidedGroupBox::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    elide();
}

void ElidedGroupBox::showEvent(QShowEvent* event) {
    QGroupBox::showEvent(event);
    elide();
}

void ElidedGroupBox::elide() {
    // Room for the frame's corners either side of the caption.
    const int room = isVisible() ? width() - 2 * fontMetrics().height() : QWIDGETSIZE_MAX;
    // A frame's caption reads "&" as a shortcut mark; a server's "&" is a character.
    const QString cut = fontMetrics().elidedText(full_, Qt::ElideRight, std::max(room, 0));
    setToolTip(cut == full_ ? ownToolTip_ : plainToolTip(full_));
    const QString shown = QString(cut).replace('&', QLatin1String("&&"));
    if (shown != title()) setTitle(shown);
}

#include "app/Controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>

namespace kel {

// ---- PanelBox -------------------------------------------------------------

PanelBox::PanelBox(QWidget* parent) : QGroupBox(parent) {}

void PanelBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics fm(font());
    const int top = fm.height() / 2;
    const QColor shadow = palette().color(QPalette::Mid);
    const QColor light = palette().color(QPalette::Light);
    const QRect frame(0, top, width() - 1, height() - top - 1);
    p.setPen(shadow);
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    p.setPen(light);
    p.drawRect(frame.adjusted(1, 1, 0, 0));

    const QString text = title();
    if (text.isEmpty())
        return;
    const int textWidth = fm.horizontalAdvance(text);
    const QRect textRect(8, 0, qMin(textWidth + 4, width() - 10), fm.height());
    p.fillRect(textRect, palette().color(backgroundRole()));
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(textRect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

void PanelBox::mousePressEvent(QMouseEvent* event) { event->accept(); }

void PanelBox::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    emit doubleClicked(this);
}

// ---- DisplayCheckBox ------------------------------------------------------

DisplayCheckBox::DisplayCheckBox(QWidget* parent) : QCheckBox(parent) {}

void DisplayCheckBox::setWordWrap(bool on) {
    m_wordWrap = on;
    update();
}

void DisplayCheckBox::advanceState() {
    switch (checkState()) {
    case Qt::Unchecked:
        setCheckState(isTristate() ? Qt::PartiallyChecked : Qt::Checked);
        break;
    case Qt::Checked:
        setCheckState(Qt::Unchecked);
        break;
    case Qt::PartiallyChecked:
        setCheckState(Qt::Checked);
        break;
    }
}

void DisplayCheckBox::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit activated(this, false);
}

// The state already changed on the press; the release must not toggle it again.
void DisplayCheckBox::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }
void DisplayCheckBox::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

// The second press of a double-click is a press like any other.
void DisplayCheckBox::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    emit activated(this, false);
}

void DisplayCheckBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        event->accept();
        emit activated(this, true);
        return;
    }
    QCheckBox::keyPressEvent(event);
}

void DisplayCheckBox::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        event->accept();
        return;
    }
    QCheckBox::keyReleaseEvent(event);
}

bool DisplayCheckBox::hitButton(const QPoint& pos) const { return rect().contains(pos); }

void DisplayCheckBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const int indicatorWidth = style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this);
    const int indicatorHeight = style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, this);
    QStyleOptionButton indicator = option;
    indicator.rect = QRect(0, (height() - indicatorHeight) / 2, indicatorWidth, indicatorHeight);
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &indicator, &p, this);

    const QRect textArea(indicatorWidth + 4, 0, width() - indicatorWidth - 4, height());
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | (m_wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine);
    p.setFont(font());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    QRect used;
    p.drawText(textArea, flags, text(), &used);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = used.adjusted(-1, 0, 1, 0).intersected(rect());
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

// ---- PictureButton ---------------------------------------------------------

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
}

void PictureButton::enterEvent(QEnterEvent* event) {
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool sunken = isDown() || isChecked();
    const QRect r = rect().adjusted(0, 0, -1, -1);
    if (sunken) {
        p.fillRect(rect(), palette().color(QPalette::Midlight));
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    } else if (m_hover && isEnabled()) {
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
    const int shift = sunken ? 1 : 0;
    int left = 1;
    if (!m_picture.isNull()) {
        const QSize size = m_picture.deviceIndependentSize().toSize();
        p.drawPixmap(left + shift, (height() - size.height()) / 2 + shift, m_picture);
        left += size.width();
    }
    p.setFont(font());
    QColor textColour = m_captionColour;
    if (!isEnabled())
        textColour = palette().color(QPalette::Disabled, QPalette::ButtonText);
    p.setPen(textColour);
    p.drawText(QRect(left + shift, shift, width() - left, height()), Qt::AlignCenter | Qt::TextSingleLine, text());
}

} // namespace kel

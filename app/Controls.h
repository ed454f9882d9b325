#pragma once
// The small custom controls of the main window: flat group boxes, check boxes that change on
// the press of any mouse button and wrap their caption, and the flat two-state picture button
// (the filter button).

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QColor>
#include <QPixmap>

namespace kel {

// A group box drawn flat, its caption set into the top line of its border.
class PanelBox : public QGroupBox {
    Q_OBJECT
public:
    explicit PanelBox(QWidget* parent = nullptr);

signals:
    // A double-click on the box itself (not on a child control).
    void doubleClicked(PanelBox* box);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A check box whose state changes once per press of any mouse button (never on release) and,
// from the keyboard, once per space bar; the owner advances the state in its handler.
class DisplayCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit DisplayCheckBox(QWidget* parent = nullptr);
    void setWordWrap(bool on);

    // The next state: unchecked -> grayed (three-state boxes) or checked; checked ->
    // unchecked; grayed -> checked.
    void advanceState();

signals:
    // A press of any mouse button, or the space bar (byKeyboard).
    void activated(DisplayCheckBox* box, bool byKeyboard);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    bool m_wordWrap = false;
};

// A flat button with a picture at its left edge and its caption beside it, shown pressed while
// it is "down" (checked).
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);
    void setPicture(const QPixmap& picture) { m_picture = picture; update(); }
    void setCaptionColour(const QColor& colour) { m_captionColour = colour; update(); }
    QColor captionColour() const { return m_captionColour; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap m_picture;
    QColor m_captionColour{Qt::black};
    bool m_hover = false;
};

} // namespace kel

#include "stats/ui/JustifiedLabel.h"

#include "gui/QtText.h"
#include "stats/Justify.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <climits>

namespace kel {

JustifiedLabel::JustifiedLabel(QWidget* parent) : QLabel(parent) {}

void JustifiedLabel::setTexts(std::string text1, std::string text2) {
    if (text1 == m_text1 && text2 == m_text2)
        return;
    m_text1 = std::move(text1);
    m_text2 = std::move(text2);
    m_valid = false;
    update();
}

void JustifiedLabel::setTextBottom(int y) {
    m_textBottom = y;
    m_valid = false;
    update();
}

bool JustifiedLabel::isCut() const {
    words();
    return m_cut;
}

const std::vector<JustifiedLabel::PlacedWord>& JustifiedLabel::words() const {
    if (m_valid)
        return m_words;
    m_words.clear();
    m_cut = false;
    const QFontMetrics fm(font());
    const auto measure = [&fm](std::string_view text) {
        return fm.horizontalAdvance(Q(text));
    };
    const int bottom = m_textBottom >= 0 ? m_textBottom : height();
    const std::vector<JustifiedWord> laid = LayoutJustified(m_text1, m_text2, width(), measure);
    m_cut = std::any_of(laid.begin(), laid.end(),
                        [bottom](const JustifiedWord& w) { return w.Y + JustifiedLineHeight > bottom; });
    // When cut, the words from the last line that fits on become that one line, ending in "…".
    const int lastLine = m_cut ? (bottom / JustifiedLineHeight - 1) * JustifiedLineHeight : INT_MAX;
    QString rest;
    for (const JustifiedWord& word : laid) {
        if (word.Text.empty())
            continue;
        const QString text = QString::fromStdString(word.Text);
        if (word.Y < lastLine)
            m_words.push_back({text, word.X, word.Y});
        else
            rest += (rest.isEmpty() ? QString() : QStringLiteral(" ")) + text;
    }
    if (!rest.isEmpty() && lastLine >= 0) {
        QString shown = fm.elidedText(rest, Qt::ElideRight, width());
        if (shown == rest)
            shown = fm.elidedText(rest + QStringLiteral(" …"), Qt::ElideRight, width());
        m_words.push_back({shown, 0, lastLine});
    }
    m_valid = true;
    return m_words;
}

void JustifiedLabel::paintEvent(QPaintEvent*) {
    const auto& placed = words();
    if (placed.empty())
        return;
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    const int ascent = QFontMetrics(font()).ascent();
    for (const PlacedWord& word : placed)
        p.drawText(word.X, word.Y + ascent, word.Text);
}

void JustifiedLabel::resizeEvent(QResizeEvent* event) {
    m_valid = false;
    QLabel::resizeEvent(event);
}

void JustifiedLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        m_valid = false;
    QLabel::changeEvent(event);
}

} // namespace kel

#include "stats/ui/JustifiedLabel.h"

#include "stats/Justify.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

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

const std::vector<JustifiedLabel::PlacedWord>& JustifiedLabel::words() const {
    if (m_valid)
        return m_words;
    m_words.clear();
    const QFontMetrics fm(font());
    const auto measure = [&fm](std::string_view text) {
        return fm.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    };
    for (const JustifiedWord& word : LayoutJustified(m_text1, m_text2, width(), measure)) {
        if (!word.Text.empty())
            m_words.push_back({QString::fromStdString(word.Text), word.X, word.Y});
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

#pragma once
// A label that paints its text fully justified (the last line left as it is), from the core's
// layout. The layout is kept until the text, the width or the font changes, so a paint only
// draws.

#include <QLabel>
#include <QString>
#include <string>
#include <vector>

namespace kel {

class JustifiedLabel : public QLabel {
    Q_OBJECT
public:
    explicit JustifiedLabel(QWidget* parent = nullptr);

    // text1 followed directly by text2, both UTF-8. The label's own caption stays empty.
    void setTexts(std::string text1, std::string text2 = {});
    const std::string& text1() const { return m_text1; }
    const std::string& text2() const { return m_text2; }

    struct PlacedWord {
        QString Text;
        int X = 0;
        int Y = 0;
    };
    // The words as they are painted (laid out on demand).
    const std::vector<PlacedWord>& words() const;

    // Lines reaching below `y` (label coordinates) are not painted: the last line above it ends
    // in "…". Without a limit the label's own height is the limit.
    void setTextBottom(int y);
    // True when the text needs more lines than fit (laid out on demand).
    bool isCut() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::string m_text1;
    std::string m_text2;
    mutable std::vector<PlacedWord> m_words;
    mutable bool m_valid = false;
    mutable bool m_cut = false;
    int m_textBottom = -1;
};

} // namespace kel

#include "widgets/masked_hex_edit.h"

#include <QFontDatabase>
#include <QStyle>

namespace {

constexpr int kPlaceWidth = 3;  // two characters and the separating blank

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
}

// A position with nothing the user meant as a character in it.
bool isEmptyPosition(QChar c) { return c == MaskedHexEdit::kPromptChar || c == QLatin1Char(' '); }

}  // namespace

MaskedHexEdit::MaskedHexEdit(int pairs, QWidget *parent)
    : QLineEdit(parent), pairs_(qMax(1, pairs))
{
    // Qt's "h" is the optional hexadecimal place, ">" makes letters upper
    // case; the character after ";" is the prompt shown in empty places.
    QString mask = QStringLiteral(">");
    for (int i = 0; i < pairs_; ++i)
        mask += i == 0 ? QStringLiteral("hh") : QStringLiteral(" hh");
    setInputMask(mask + QLatin1Char(';') + kPromptChar);
    // Pairs line up from box to box only in a fixed-width font.
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Wide enough for every place and the cursor behind the last one.
    const int textWidth = fontMetrics().horizontalAdvance(QString(kPlaceWidth * pairs_ + 1, QLatin1Char('0')));
    setMinimumWidth(textWidth + 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);
    setStoreText(QString());
}

QString MaskedHexEdit::displayFor(const QString &storeText) const
{
    QString display;
    for (int place = 0; place < pairs_; ++place) {
        if (place > 0)
            display += QLatin1Char(' ');
        for (int k = 0; k < 2; ++k) {
            const int index = 2 * place + k;
            const QChar c = index < storeText.size() ? storeText.at(index) : kPromptChar;
            // The mask would skip a character it cannot take and shift the
            // rest; an empty position keeps every later pair in its place.
            display += isHexDigit(c) ? c.toUpper() : kPromptChar;
        }
    }
    return display;
}

void MaskedHexEdit::setStoreText(const QString &storeText)
{
    setText(displayFor(storeText));
    shownStoreText_ = storeText;
    shownDisplay_ = displayText();
}

QString MaskedHexEdit::storeText() const
{
    if (displayText() == shownDisplay_)
        return shownStoreText_;
    const QString places = placesText();
    return places == QString(places.size(), kPromptChar) ? QString() : places;
}

QString MaskedHexEdit::placesText() const
{
    const QString display = displayText();
    QString text;
    for (int place = 0; place < pairs_; ++place) {
        for (int k = 0; k < 2; ++k) {
            const int index = place * kPlaceWidth + k;
            const QChar c = index < display.size() ? display.at(index) : kPromptChar;
            text += isEmptyPosition(c) ? kPromptChar : c;
        }
    }
    return text;
}

#pragma once
// A line edit for a byte string held in the store as hexadecimal text
// ("001122AABBCC"). The box shows the text as N places of two characters
// separated by single blanks ("00 11 22 AA BB CC"), the mask
// "&& && && && && &&" for six places or "&& && && && &&" for five. Each place
// takes any printable character; an empty position shows the prompt "_".
//
// What the box gives back (storeText):
// - Unedited: while the box still shows what setStoreText put there, the
//   very text that was given is returned, byte for byte, whatever it held:
//   odd length, shorter or longer than the box, blanks, "_" or other
//   characters that are not hexadecimal.
// - Edited: the places are read from the left, two characters each, digits
//   only, hexadecimal letters in upper case. A position that holds no
//   hexadecimal digit (left empty, a blank, any other character) reads as
//   "0", so every later pair keeps its place. Empty places after the last
//   place that holds anything give nothing: the text gets shorter, and the
//   writers send zero bytes for the missing pairs. A box emptied completely
//   gives the empty text. Characters of the original text beyond the box's
//   places are not kept once the box is edited; the writers never send
//   them, and the user sees what is stored.
// A stored character that the box cannot show (a control character) is
// shown as an empty position.

#include <QLineEdit>
#include <QString>

class MaskedHexEdit : public QLineEdit {
    Q_OBJECT

public:
    // pairs: the number of two-character places (6 for an address, 5 for a key).
    explicit MaskedHexEdit(int pairs, QWidget *parent = nullptr);

    int pairCount() const { return pairs_; }
    static constexpr QChar kPromptChar = QLatin1Char('_');

    void setStoreText(const QString &storeText);
    QString storeText() const;
    // Every place as the box shows it, without the separating blanks; an
    // empty position gives the prompt "_". For values whose empty places
    // must reach the device as they are (the radio's CR31 boxes).
    QString placesText() const;

private:
    QString displayFor(const QString &storeText) const;
    QString storeTextFromPlaces(const QString &display) const;

    int pairs_;
    QString shownStoreText_;
    QString shownDisplay_;
};

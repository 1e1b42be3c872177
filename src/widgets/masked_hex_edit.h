#pragma once
// A line edit for a byte string held in the store as hexadecimal text
// ("001122AABBCC"). The box shows the text as N places of two characters
// separated by single blanks ("00 11 22 AA BB CC"), the mask
// "&& && && && && &&" for six places or "&& && && && &&" for five. Only
// hexadecimal digits can be typed (letters show in upper case); an empty
// position shows the prompt "_".
//
// What the box gives back (storeText):
// - Unedited: while the box still shows what setStoreText put there, the
//   very text that was given is returned, byte for byte, whatever it held
//   (odd length, shorter or longer than the box, characters that are not
//   hexadecimal, which the box shows as empty positions).
// - Edited: the places from the left, two characters each, without the
//   blanks: hexadecimal digits in upper case, "_" for an empty position,
//   so that what is stored is what the box shows and a box with an empty
//   position is refused (config/value_rules) rather than sent with a zero
//   in its place. A box emptied completely gives the empty text.

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
    // empty position gives the prompt "_".
    QString placesText() const;

private:
    QString displayFor(const QString &storeText) const;

    int pairs_;
    QString shownStoreText_;
    QString shownDisplay_;
};

#pragma once
// A display box whose text may be longer than the box shows: while the
// text is clipped, its tooltip shows the whole text, followed by the box's
// own tooltip; otherwise the box's own tooltip as usual.

class QLineEdit;

namespace quicksetup {

void showWholeTextWhenClipped(QLineEdit *box);

// The text does not fit in the box as it is now.
bool textIsClipped(const QLineEdit *box);

}  // namespace quicksetup

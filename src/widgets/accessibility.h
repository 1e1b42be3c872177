#pragma once
// What every window owes a keyboard or screen-reader user beyond what Qt
// gives by itself:
//
// - access keys: every label that names an input, and every button, gets
//   an Alt+letter where its caption has none (OK and Cancel have Enter and
//   Esc). The caption keeps its letters; only the mark is added, on the
//   first free letter of a word, else on any free letter. The pages of a
//   tab control are scopes of their own that share the letters of what
//   surrounds them (a hidden page's keys never fire).
// - accessible interfaces that say what Qt 6.4 leaves unsaid or says
//   wrong: a list (combo box) is named by its label, not by its current
//   value; a disabled tab is reported disabled; a top-level window made
//   from a plain widget is a window, not a filler.
//
// makeAccessible(window) in each window's constructor; the keys are given
// when the window is first shown, when all its controls are there.

class QWidget;

namespace widgets {

void makeAccessible(QWidget *window);

// The access keys alone, now (makeAccessible does this on the first show).
void assignAccessKeys(QWidget *window);

// The interfaces alone (the main window installs them for the program).
void installAccessibleInterfaces();

}  // namespace widgets

#pragma once

class QLineEdit;

// For a field narrower than the text it may hold: whenever the user is not
// typing in it (before, after, and while it is disabled) it shows the start
// of its text, and its whole text is its tooltip.
void KeepTextStartInView(QLineEdit *field);

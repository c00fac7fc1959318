#pragma once

class QLineEdit;

// For a field that keeps at most maxLength() characters: while the field is
// full (so typed or pasted text beyond the limit was dropped) a short note
// "最多N个字" shows at its right end, and is the field's accessible
// description for a screen reader; both go once the text is shorter.
void ShowLimitWhenFull(QLineEdit *field);

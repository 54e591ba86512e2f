#pragma once
// How the data grid treats a field: the one classification its painting, its own editors
// and its keys and mouse share, so that a field is drawn, edited and clicked as one kind.

class TField;

enum class GridFieldKind {
    Text,      // strings, and anything not named below
    Number,
    Boolean,   // a check box, toggled by a click
    Date,      // date, time or both: plain text with a date picker
    Memo,      // its full text, with the memo editor
    Picture,   // any other binary field, read as a picture
};

// Text for a missing field.
GridFieldKind gridFieldKind(const TField *field);

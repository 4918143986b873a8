#pragma once
#include "ui/Layout.h"

class TForm;
struct FormClass;

// Creates the layout's components inside `form`, binds names to the form
// class's published members, creates the windows. Throws Exception naming
// the line of anything it cannot place.
void BuildForm(TForm& form, const LayoutObject& layout, const FormClass& formClass);

// Applies the pixel figures of `next` (the layout of `applied`, at another
// density) to the components `form` was built with, and has every control
// take them on its native window. `from` and `to` are the two layouts'
// pixels per inch: a size the user has changed is scaled from where the
// user left it instead.
void ReapplyPixels(TForm& form, const LayoutObject& applied, const LayoutObject& next, int from, int to);

#pragma once
#include "ui/Layout.h"

class TForm;
struct FormClass;

// Creates the layout's components inside `form`, binds names to the form
// class's published members, creates the windows. Throws Exception naming
// the line of anything it cannot place.
void BuildForm(TForm& form, const LayoutObject& layout, const FormClass& formClass);

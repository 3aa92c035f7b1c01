// The whole window library, for the programs that show forms.
#ifndef FORMS_FORMS_H_
#define FORMS_FORMS_H_

#include "forms/application.h"
#include "forms/component.h"
#include "forms/controls.h"
#include "forms/convert.h"
#include "forms/dialogs.h"
#include "forms/form.h"
#include "forms/grid.h"
#include "forms/lists.h"
#include "forms/pages.h"
#include "forms/strings.h"
#include "forms/tree.h"

#endif  // FORMS_FORMS_H_

// The status icons of the wizard's lists (the evaluation page and the wizard bar): 0..4 a
// rating from bad to good (4 also marks headings and information), 5 a step to check, 6 an
// indented detail line, 7 a step not yet done.
#pragma once

#include <QIcon>

QIcon WizardStatusIcon(int index);

#pragma once
// The function dialogs, one per function of the language's function table.
#include <QWidget>
#include <memory>
#include <string_view>

#include "dialogs/FunctionWindow.h"

using TDialogMaker = std::unique_ptr<TFunctionWindow> (*)(QWidget* owner);

// The maker of the dialog for the function of that name (as the function
// table writes it), or nullptr when the function has no dialog.
TDialogMaker FunctionDialog(std::string_view functionName);

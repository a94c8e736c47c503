// Resource identifiers of the text-input dialog, opened where a text
// annotation is placed.
#pragma once

#define IDD_TEXT_INPUT 152
#define IDC_TEXT_INPUT_EDIT 1055

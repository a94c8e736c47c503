// Resource identifiers shared by the program and its language libraries.
#pragma once

// Message box dialog.
#define IDD_PROMPT 157
#define IDC_PROMPT_TEXT 1081
#define IDC_PROMPT_SINGLE 3

#pragma once
// Dialog data exchange refuses input with the texts of the language library
// that is the resource module at the time of the refusal.

// Installs the framework's data-prompt source; call once at start-up.
void UseLanguageDataPrompts();

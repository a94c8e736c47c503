#pragma once
// The per-model settings in the registry: read from the current user's key,
// or once from the machine-wide key of older installations when the user
// has none; always written to the current user's key, which a normal user
// can write.

#include <string>

#include "twain_settings.h"

namespace twain::win32 {

// The settings under keyName (below HKEY_CURRENT_USER, else below
// HKEY_LOCAL_MACHINE); defaults for every value neither holds. Creates
// nothing.
TwainSettings ReadSettings(const std::string& keyName);
// Writes every value under HKEY_CURRENT_USER\keyName, creating the key;
// false when the key cannot be created.
bool WriteSettings(const std::string& keyName, const TwainSettings& settings);

}  // namespace twain::win32

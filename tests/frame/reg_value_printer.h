// Readable GoogleTest output for settings values.
#pragma once

#include "src/win/settings/settings_store.h"
#include <ostream>

namespace qorva {

inline void PrintTo(const RegValue& value, std::ostream* out) {
    switch (value.type) {
        case RegType::String: *out << "REG_SZ \"" << value.text << '"'; break;
        case RegType::ExpandString: *out << "REG_EXPAND_SZ \"" << value.text << '"'; break;
        case RegType::Dword: *out << "REG_DWORD " << value.number; break;
    }
}

}  // namespace qorva

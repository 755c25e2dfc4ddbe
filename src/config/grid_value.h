// The value type of the properties pane: a tagged signed integer, unsigned
// integer or text (UTF-8 in the pane; items convert to and from their bytes).
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace kib {

struct GridValue {
    enum class Type { Int = 3, UInt = 19, Text = 8, Empty = 0 }; // VT_I4, VT_UI4, VT_BSTR, VT_EMPTY

    Type type = Type::Empty;
    std::int32_t i = 0;
    std::uint32_t u = 0;
    std::string text;

    static GridValue Int(std::int32_t v) { return {Type::Int, v, 0, {}}; }
    static GridValue UInt(std::uint32_t v) { return {Type::UInt, 0, v, {}}; }
    static GridValue Text(std::string v) { return {Type::Text, 0, 0, std::move(v)}; }
};

} // namespace kib

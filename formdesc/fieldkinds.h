// The codes of the structure description: a field's control kind (its "tControl") and its data
// type (its "tInfo"). The form engine, the record code and the data server's demo description all
// read and write these numbers, so they are named once, here.
#pragma once

namespace tarmel {

// Control kinds (tControl).
namespace kind {
inline constexpr int Button = 104;
inline constexpr int Text = 109;
inline constexpr int ListBox = 110;
inline constexpr int ComboText = 111;      // the value is the item text (or its code before " : ")
inline constexpr int ComboPosition = 112;  // the value is the 1-based item position
inline constexpr int Placed = 120;         // another control on the form; its label goes above it
}  // namespace kind

// Data types (tInfo).
namespace datatype {
inline constexpr int Date = 1;
inline constexpr int Text = 2;
inline constexpr int Boolean = 3;
inline constexpr int Integer = 4;
inline constexpr int Decimal = 5;
}  // namespace datatype

}  // namespace tarmel

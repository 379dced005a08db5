// The characters a few text fields accept as they are typed: telephones take digits, plates take
// letters and digits in capitals, names and addresses are typed in capitals.
#pragma once

namespace tarmel {

enum class KeyFilter {
    Telephone,  // backspace and digits
    Plate,      // backspace, digits and letters, the letters in capitals
    Capitals,   // everything, "a" to "z" in capitals; accented letters as typed
};

inline constexpr char32_t kBackspace = 0x08;

// The character to type in place of the typed one; 0 cancels the key.
char32_t FilterKey(KeyFilter filter, char32_t typed);

}  // namespace tarmel

// The keystroke filters of the telephone, plate and name fields.
#include "record/keyfilters.h"

namespace tarmel {

namespace {

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool IsLower(char32_t c) { return c >= U'a' && c <= U'z'; }
bool IsUpper(char32_t c) { return c >= U'A' && c <= U'Z'; }
char32_t Capital(char32_t c) { return IsLower(c) ? c - U'a' + U'A' : c; }

}  // namespace

char32_t FilterKey(KeyFilter filter, char32_t typed) {
    switch (filter) {
        case KeyFilter::Telephone:
            return typed == kBackspace || IsDigit(typed) ? typed : 0;
        case KeyFilter::Plate:
            if (typed == kBackspace || IsDigit(typed) || IsUpper(typed)) return typed;
            return IsLower(typed) ? Capital(typed) : 0;
        case KeyFilter::Capitals: return Capital(typed);
    }
    return typed;
}

}  // namespace tarmel

// The well-formedness check of an XML document by xmllint, for the tests of the server's answers
// and documents.
#pragma once

#include <string>

namespace tarmel::testsupport {

// Empty when xmllint finds the document well-formed, otherwise its complaint ("xmllint failed"
// when it complained without a word, so that a failure never reads as a pass).
std::string XmlProblems(const std::string& document);

}  // namespace tarmel::testsupport

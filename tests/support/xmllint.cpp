// xmllint run on a scratch copy of the document.
#include "tests/support/xmllint.h"

#include <cstdlib>

#include "tests/support/scratchdir.h"

namespace tarmel::testsupport {

std::string XmlProblems(const std::string& document) {
    ScratchDir dir;
    const std::string path = dir.file("answer.xml");
    writeFile(path, document);
    const std::string report = dir.file("xmllint.txt");
    const std::string command = "xmllint --noout '" + path + "' > '" + report + "' 2>&1";
    int rc = std::system(command.c_str());
    std::string problems = readFile(report);
    if (rc != 0 && problems.empty()) problems = "xmllint failed";
    return problems;
}

}  // namespace tarmel::testsupport

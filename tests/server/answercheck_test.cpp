// Which answers may replace a result file: whole documents of the endpoint asked, in Latin-1.
#include "server/answercheck.h"

#include <gtest/gtest.h>

#include <string>

#include "server/xml/texttools.h"

namespace tarmel {
namespace {

const std::string kProlog =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
    "<!DOCTYPE AxInfoVO [<!ENTITY cr \"&#13;&#10;\">]>\r\n";

std::string Vehicle(const std::string& children) {
    return kProlog + "<AxInfoVO><User><Name_>Andr\xE9</Name_></User>" + children + "</AxInfoVO>";
}

struct Case {
    const char* name;
    std::string endpoint;
    std::string answer;
    const char* problem;  // a fragment of the sentence, "" when the answer is taken
};

TEST(AnswerCheck, TakesWholeDocumentsOfTheEndpointAskedAndNamesWhatIsWrong) {
    const std::string execute = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><AXExecute>";
    const Case cases[] = {
        {"a record with its accents and entities", "AxInfoVO",
         Vehicle("<tVO><idVO>1</idVO><Memo>a&cr;b &amp; c</Memo></tVO><ImageS></ImageS>"), ""},
        {"a refusal under the root", "AxInfoVO",
         kProlog + "<AxInfoVO><LogItems><LogItem>Erreur</LogItem></LogItems></AxInfoVO>", ""},
        {"a statement's answer", "AxUpdate",
         execute +
             "<OutParams><NewID></NewID><RowsAffected>1</RowsAffected></OutParams></AXExecute>",
         ""},
        {"rows as counted", "AxQuery",
         "<AXQueryS RowCount=\"2\" EOF=\"1\"><AXQuery><a>1</a></AXQuery><AXQuery><a>2</a></AXQuery>"
         "</AXQueryS>",
         ""},
        {"no rows", "AxQuery", "<AXQueryS RowCount=\"0\" EOF=\"1\"></AXQueryS>", ""},
        {"ISO-8859-15 and no declaration read as Latin-1", "AxInfoCL",
         "<?xml version='1.0' encoding='iso-8859-15'?><AxInfoCL><User/><TVC/></AxInfoCL>", ""},
        {"an endpoint without expectations", "ReportPDF", "<Any><x/></Any>", ""},

        {"empty", "AxInfoVO", "", "Réponse vide"},
        {"blanks only", "AxQuery", " \r\n", "Réponse vide"},
        {"cut half-way", "AxInfoVO", Vehicle("<tVO><idVO>1</idVO></tVO>").substr(0, 150),
         "incomplète ou illisible"},
        {"plain text", "AxUpdate", "telephonySmsSend successfull", "incomplète ou illisible"},
        {"two documents", "AxInfoVO", Vehicle("<tVO/>") + "<AxInfoVO><User/><tVO/></AxInfoVO>",
         "incomplète ou illisible"},
        {"a control byte", "AxInfoVO", Vehicle("<tVO>\x01</tVO>"), "incomplète ou illisible"},
        {"a proxy's page", "AxQuery",
         "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML 2.0//EN\"><html><body>502</body></html>",
         "une page web"},
        {"a page without doctype", "AxInsert", "\n<HTML><p>Bad Gateway</HTML>", "une page web"},
        {"UTF-8 declared", "AxInfoVO",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><AxInfoVO><User/><tVO/></AxInfoVO>",
         "codage inattendu (UTF-8)"},
        {"UTF-16 with its mark", "AxQuery", std::string("\xFF\xFE<\0A\0", 6),
         "codage inattendu (UTF-16)"},
        {"another endpoint's root", "AxInfoVO", "<AXQueryS RowCount=\"0\"></AXQueryS>",
         "AXQueryS au lieu de AxInfoVO"},
        {"the record missing", "AxInfoVO", Vehicle("<ImageS/>"), "tVO absent"},
        {"the record twice", "AxInfoVO", Vehicle("<tVO/><ImageS/><tVO/>"), "tVO en double"},
        {"the outcome missing", "AxInsert", execute + "</AXExecute>", "OutParams absent"},
        {"the outcome twice", "AxUpdate", execute + "<OutParams/><OutParams/></AXExecute>",
         "OutParams en double"},
        {"a row missing", "AxQuery", "<AXQueryS RowCount=\"2\"><AXQuery/></AXQueryS>",
         "2 lignes annoncées, 1 reçues"},
        {"a description without fields", "AxInfoStruct", "<axStructS></axStructS>",
         "aucun axStruct"},
        {"entities that multiply", "AxInfoVO",
         "<?xml version=\"1.0\"?><!DOCTYPE AxInfoVO [<!ENTITY a \"aaaaaaaaaaaaaaaa\">"
         "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
         "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
         "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
         "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">"
         "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
         "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">]>"
         "<AxInfoVO><User/><tVO>&g;&g;&g;&g;&g;&g;&g;&g;</tVO></AxInfoVO>",
         "incomplète ou illisible"},
        {"larger than the window takes", "AxQuery",
         "<AXQueryS>" + std::string(kMaxAnswerBytes, ' ') + "</AXQueryS>", "trop volumineuse"},
    };
    for (const Case& c : cases) {
        const std::string problem = Utf8FromLatin1(AnswerProblem(c.endpoint, c.answer));
        if (*c.problem == '\0') {
            EXPECT_EQ(problem, "") << c.name;
        } else {
            EXPECT_NE(problem.find(c.problem), std::string::npos) << c.name << ": " << problem;
        }
    }
}

TEST(AnswerCheck, TheEndpointIsTheLastPathSegment) {
    EXPECT_EQ(EndpointOfUrl("http://h:1/tarmel/AxInfoVO?XMLC_OutputFormat=XML&a=/b"), "AxInfoVO");
    EXPECT_EQ(EndpointOfUrl("AxInsert"), "AxInsert");
    EXPECT_EQ(EndpointOfUrl("http://h/tarmel/"), "");
}

}  // namespace
}  // namespace tarmel

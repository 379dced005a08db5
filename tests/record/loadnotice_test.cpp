// The band's words when a record could not be loaded.
#include "record/loadnotice.h"

#include <gtest/gtest.h>

#include "server/xml/texttools.h"

namespace tarmel {
namespace {

TEST(LoadNotice, NamesTheRecordAskedAndTheRecordStillShown) {
    const struct {
        const char* name;
        LoadFailure failure;
        const char* text;  // UTF-8
    } cases[] = {
        {"another vehicle asked", {false, "1080", "VO", "20012", "10/12/2026 \xE0 11:42", false},
         "Le véhicule 1080 demandé n'a pas pu être chargé : la fenêtre montre toujours le VO "
         "n°20012, reçu le 10/12/2026 à 11:42."},
        {"a client asked", {true, "1483", "CL", "M. DUBOIS Mathieu", "", false},
         "Le client 1483 demandé n'a pas pu être chargé : la fenêtre montre toujours le client "
         "M. DUBOIS Mathieu."},
        {"the last run's record", {false, "1080", "VD", "60025", "09/12/2026 \xE0 17:05", true},
         "Le véhicule 1080 demandé n'a pas pu être chargé : la fiche affichée (VD n°60025) est la "
         "dernière reçue, le 09/12/2026 à 17:05, avant ce démarrage."},
        {"nothing to show", {false, "1080", "", "", "", false},
         "Le véhicule 1080 demandé n'a pas pu être chargé."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LoadFailureNotice(c.failure), Latin1FromUtf8(c.text));
    }
}

}  // namespace
}  // namespace tarmel

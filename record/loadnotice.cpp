// The words of a failed load, written here in UTF-8 and given in Latin-1.
#include "record/loadnotice.h"

#include "server/xml/texttools.h"

namespace tarmel {

namespace {

// "VO n°20012", or "client M. DUBOIS Mathieu".
std::string Shown(const LoadFailure& f) {
    if (f.shownFamily == "CL") return "client " + f.shownName;
    return f.shownFamily + Latin1FromUtf8(" n°") + f.shownName;
}

}  // namespace

std::string LoadFailureNotice(const LoadFailure& f) {
    std::string text = Latin1FromUtf8(f.client ? "Le client" : "Le véhicule");
    if (!f.askedId.empty()) text += " " + f.askedId;
    text += Latin1FromUtf8(" demandé n'a pas pu être chargé");
    if (f.shownFamily.empty()) return text + ".";
    if (f.earlierRun) {
        text += Latin1FromUtf8(" : la fiche affichée (") + Shown(f) +
                Latin1FromUtf8(") est la dernière reçue");
        if (!f.receivedAt.empty()) text += ", le " + f.receivedAt;
        return text + Latin1FromUtf8(", avant ce démarrage.");
    }
    text += Latin1FromUtf8(" : la fenêtre montre toujours le ") + Shown(f);
    if (!f.receivedAt.empty()) text += Latin1FromUtf8(", reçu le ") + f.receivedAt;
    return text + ".";
}

std::string SplashConnecting() { return "Connexion au serveur en cours..."; }

std::string SplashServerDown(const std::string& problem) {
    if (!problem.empty()) {
        return Latin1FromUtf8("La description des fiches reçue du serveur de la concession est "
                              "inutilisable. ") +
               problem + Latin1FromUtf8(" Cliquez sur « Actualiser » pour réessayer.");
    }
    return Latin1FromUtf8(
        "Le serveur de la concession ne répond pas. Vérifiez le réseau, puis cliquez sur "
        "« Actualiser » pour réessayer.");
}

}  // namespace tarmel

// Value lists read from the equipment document.
#include "formdesc/valuelists.h"

#include "formdesc/fieldentry.h"
#include "formdesc/fieldkinds.h"
#include "server/encoders.h"
#include "server/xml/texttools.h"

namespace tarmel {

namespace {

std::string Container(std::string_view entry) { return std::string(entry) + "S"; }

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// The item's comparison text: upper-cased, cut before " : ".
std::string ComparisonText(std::string_view item) {
    return UpperAscii(item.substr(0, item.find(" : ")));
}

// A combo's list key decides where its items come from; the make and model keys also remember the
// value for the lists that follow them in the description.
std::vector<std::string> ComboItems(const TXml& equip, const std::string& key,
                                    const ComboFillRequest& request, CascadeMemory& memory) {
    const bool usedVehicleLists = request.recordKind == "_TVO" || request.recordKind == "_TCL";
    if (key == "INFOTYPEVERSION")
        return KeyedRun(equip, "VNVersions", "vnModel", "vnVers", memory.model, false)
            .value_or(std::vector<std::string>{});
    if (key == "INFOMODELE") {
        memory.model = UpperAscii(request.value);
        const auto run = usedVehicleLists
                             ? KeyedRun(equip, "Models", "vMark", "vModel", memory.make, false)
                             : KeyedRun(equip, "VNModels", "vnMark", "vnModel", memory.make, false);
        return run.value_or(std::vector<std::string>{});
    }
    if (key == "INFOMARQUE") {
        memory.make = UpperAscii(request.value);
        const bool newVehicleMakes =
            request.recordKind == "_TVD" ||
            (request.recordKind == "_TVN" && UpperAscii(request.columnName) == "INFOMARQUE");
        return newVehicleMakes ? AllItems(equip, "VNMarks", "vnMark")
                               : AllItems(equip, "Marks", "vMark");
    }
    return ParameterList(equip, key).value_or(std::vector<std::string>{});
}

}  // namespace

std::optional<std::vector<std::string>> ParameterList(const TXml& equip, std::string_view key,
                                                      bool withLineBreaks) {
    const std::string wanted = UpperAscii(key);
    TXml walk = equip;
    XmlFind(walk, "ParsS");
    std::optional<std::vector<std::string>> items;
    std::string type, text;
    while (XmlNext(walk, "Pars") > 0) {
        XmlValue(walk, "type", type);
        if (UpperAscii(type) != wanted) {
            if (items) break;  // the run ends at the first entry of another type
            continue;
        }
        if (!items) items.emplace();
        XmlValue(walk, "text", text);
        items->push_back(withLineBreaks ? DecodeTextEntities(text) : DecodeBasicEntities(text));
    }
    return items;
}

std::optional<std::vector<std::string>> KeyedRun(const TXml& equip, std::string_view entry,
                                                 std::string_view keyElement,
                                                 std::string_view itemElement, std::string_view key,
                                                 bool trimKeys) {
    auto normal = [&](std::string_view text) {
        return UpperAscii(trimKeys ? TrimBlanks(text) : text);
    };
    const std::string wanted = normal(key);
    TXml walk = equip;
    XmlFind(walk, Container(entry));
    std::optional<std::vector<std::string>> items;
    std::string entryKey, item;
    while (XmlNext(walk, entry) > 0) {
        XmlValue(walk, keyElement, entryKey);
        if (normal(entryKey) != wanted) {
            if (items) break;
            continue;
        }
        if (!items) items.emplace();
        XmlValue(walk, itemElement, item);
        items->push_back(item);
    }
    return items;
}

std::vector<std::string> AllItems(const TXml& equip, std::string_view entry,
                                  std::string_view itemElement) {
    std::vector<std::string> items;
    TXml walk = equip;
    XmlFind(walk, Container(entry));
    std::string item;
    while (XmlNext(walk, entry) > 0) {
        XmlValue(walk, itemElement, item);
        items.push_back(item);
    }
    return items;
}

std::vector<std::string> StaffOfSite(const TXml& equip, std::string_view recordSite) {
    std::vector<std::string> names;
    if (recordSite.empty()) return names;
    TXml walk = equip;
    XmlFind(walk, "InfoComS");
    std::string site, name;
    while (XmlNext(walk, "InfoCom") > 0) {
        XmlValue(walk, "Site", site);
        XmlValue(walk, "cNom", name);
        if (Contains(UpperAscii(site), recordSite)) names.push_back(name);
    }
    return names;
}

std::string StaffName(const TXml& equip, std::string_view identifier) {
    TXml walk = equip;
    XmlFind(walk, "InfoComS");
    std::string id;
    while (XmlNext(walk, "InfoCom") > 0) {
        XmlValue(walk, "idCom", id);
        if (id != identifier) continue;
        std::string name;
        XmlValue(walk, "cNom", name);
        return name;
    }
    return {};
}

std::string GetInfoComboBoxIdCom(const TXml& equip, std::string_view listName,
                                 std::string_view text) {
    if (listName == "InfoCom") {
        TXml walk = equip;
        XmlFind(walk, "InfoComS");
        std::string name;
        while (XmlNext(walk, "InfoCom") > 0) {
            XmlValue(walk, "cNom", name);
            if (name != text) continue;
            std::string id = "0";
            XmlValue(walk, "idCom", id);
            return id;
        }
        return "0";
    }
    std::string key = UpperAscii(listName);
    if (key == "SUJETRELANCE") key = "SUJETACTION";
    const auto items = ParameterList(equip, key);
    if (!items) return "0";
    for (size_t i = 0; i < items->size(); ++i) {
        if ((*items)[i] == text) return std::to_string(i + 1);
    }
    return "0";
}

std::string SiteMakes(const TXml& equip, std::string_view siteText) {
    TXml walk = equip;
    XmlFind(walk, "InfoSiteS");
    std::string site;
    while (XmlNext(walk, "InfoSite") > 0) {
        XmlValue(walk, "Site", site);
        if (UpperAscii(site) != siteText) continue;
        std::string makes;
        XmlValue(walk, "Marques", makes);
        return makes;
    }
    return "VW";
}

ComboFill FillCombo(const TXml& equip, const ComboFillRequest& request, CascadeMemory& memory) {
    ComboFill fill;
    fill.value = request.value;
    std::string key = UpperAscii(request.listKey);
    int position = 1;
    if (request.controlKind == kind::ComboPosition) {
        if (request.columnName == "ModeTVA" && IntegerOr(fill.value, 0) == 0) fill.value = "1";
        fill.indexed = true;
        position = IntegerOr(fill.value, 1);
    }
    if (request.dataType == datatype::Boolean) {
        if (request.controlKind != kind::ComboPosition) key = "BOOLEAN";
        fill.indexed = true;
        position = UpperAscii(fill.value) == "TRUE" ? 2 : 1;
    }

    if (key == "IDCOM") {
        // Staff of the record's site, the member with that identifier selected.
        fill.items = StaffOfSite(equip, request.recordSite);
        const std::string name = StaffName(equip, fill.value);
        for (size_t i = 0; i < fill.items.size(); ++i) {
            if (fill.items[i] == name) fill.selected = static_cast<int>(i);
        }
        return fill;
    }

    const std::vector<std::string> items = ComboItems(equip, key, request, memory);
    const std::string wanted = UpperAscii(fill.value);
    for (size_t count = 0; count < items.size(); ++count) {
        // A first item ".." or empty stands for the empty choice; positions then count from the
        // item after it.
        if (count == 0 && (items[0] == ".." || items[0].empty())) fill.emptyFirst = true;
        const std::string item = count == 0 && fill.emptyFirst ? std::string() : items[count];
        fill.items.push_back(item);
        const int wantedCount = fill.emptyFirst ? position : position - 1;
        if (ComparisonText(item) == wanted ||
            (fill.indexed && static_cast<int>(count) == wantedCount))
            fill.selected = static_cast<int>(count);
    }
    if (fill.selected < 0 && request.controlKind != kind::ComboPosition) {
        fill.items.push_back(fill.value);
        fill.selected = static_cast<int>(fill.items.size()) - 1;
    }
    return fill;
}

namespace {

void AddListItem(ListBoxFill& fill, const std::string& text, const std::string& code,
                 const std::string& upperValue) {
    fill.codes += ";" + code;
    fill.items.push_back(text);
    const bool chosen = Contains(upperValue, ";" + UpperAscii(code) + ";");
    fill.selected.push_back(chosen);
    if (chosen) fill.joined += (fill.joined.empty() ? "" : " - ") + text;
}

}  // namespace

ListBoxFill FillListBox(const TXml& equip, std::string_view listKey, std::string_view value,
                        std::string_view siteMakes) {
    const std::string key = UpperAscii(listKey);
    if (key == "PACHOIX1" || key == "PACHOIX2")
        return SiteModels(equip, siteMakes, key == "PACHOIX1", value);
    ListBoxFill fill;
    const std::string upperValue = UpperAscii(value);
    TXml walk = equip;
    XmlFind(walk, Container(listKey));
    std::string code, text;
    while (XmlNext(walk, listKey) > 0) {
        XmlValue(walk, "Abbr", code);
        XmlValue(walk, "eText", text);
        AddListItem(fill, text, code, upperValue);
    }
    return fill;
}

ListBoxFill SiteModels(const TXml& equip, std::string_view siteMakes, bool inSite,
                       std::string_view value) {
    ListBoxFill fill;
    const std::string upperValue = UpperAscii(value);
    TXml walk = equip;
    XmlFind(walk, "VNModelsS");
    std::string make, model;
    while (XmlNext(walk, "VNModels") > 0) {
        XmlValue(walk, "vnMark", make);
        XmlValue(walk, "vnModel", model);
        if (Contains(siteMakes, UpperAscii(make)) != inSite) continue;
        AddListItem(fill, model, UpperAscii(model), upperValue);
    }
    return fill;
}

namespace {

// Replaces the first occurrence of last (any letter case) by replacement; nullopt when absent.
std::optional<std::string> ReplaceFirstAnyCase(std::string_view memo, std::string_view last,
                                               std::string_view replacement) {
    if (last.empty()) return std::nullopt;
    const size_t at = UpperAscii(memo).find(UpperAscii(last));
    if (at == std::string::npos) return std::nullopt;
    std::string out(memo);
    out.replace(at, last.size(), replacement);
    return out;
}

}  // namespace

std::string MergeModelIntoVersion(std::string_view memo, std::string_view last,
                                  std::string_view model) {
    const std::string upperModel = UpperAscii(model);
    if (auto replaced = ReplaceFirstAnyCase(memo, last, upperModel)) return *replaced;
    return upperModel + " " + std::string(TrimBlanks(memo));
}

std::string MergeTypeIntoVersion(std::string_view memo, std::string_view last,
                                 std::string_view type) {
    const std::string upperType = UpperAscii(type);
    if (auto replaced = ReplaceFirstAnyCase(memo, last, upperType)) return *replaced;
    return std::string(TrimBlanks(memo)) + " " + upperType;
}

}  // namespace tarmel

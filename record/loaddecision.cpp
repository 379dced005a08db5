// The decisions of a record document, in the order a load takes them.
#include "record/loaddecision.h"

#include "formdesc/valuesource.h"
#include "record/recordplan.h"
#include "server/xml/texttools.h"

namespace tarmel {

namespace {

std::string ElementValue(const TXml& element, std::string_view name) {
    std::string value;
    XmlValue(element, name, value);
    return value;
}

}  // namespace

LoadDecision DecideLoad(const TXml& document, const LoadRequest& request, DateLimits& limits) {
    LoadDecision d;
    d.user = ReadUserBlock(document);
    ReadDateLimits(document, limits);

    // The record kind, from the vehicle element when no client is shown.
    const TXml vehicle = RecordElementSource(document, "tVO");
    d.kind = DecideRecordKind(request.customerShown, ElementValue(vehicle, "TypeVO"),
                              ElementValue(vehicle, "StatutVD"), request.idTypeVO);
    d.recordSource = RecordElementSource(document, d.kind.table);
    const TXml& record = d.recordSource;
    d.frevoTotal = ElementValue(record, "Frevo");
    d.vehicleId = ElementValue(record, "idVO");
    XmlValue(record, "idtVO", d.vehicleId);
    d.concession = ElementValue(record, "Concession");
    d.site = UpperAscii(ElementValue(record, "Site"));
    d.owner = UpperAscii(ElementValue(record, "idOwner"));

    d.groupNames = ReadGroupNames(document);
    d.rights = DecideRights(
        d.groupNames, SiteRight(d.user.site, d.site, d.owner, request.idUser, request.newRecord),
        request.newRecord);

    d.emptyPages = ShowsEmptyPages(d.concession, d.user.concession, request.newRecord);
    if (d.emptyPages) {
        d.recordSource.setText({});
        // The fields' rights are then read from an empty document: every field is read-only.
        d.groupNames.clear();
    }
    return d;
}

}  // namespace tarmel

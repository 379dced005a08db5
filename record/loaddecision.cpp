// The decisions of a record document, in the order a load takes them.
#include "record/loaddecision.h"

#include "formdesc/valuesource.h"
#include "record/recordplan.h"
#include "server/xml/texttools.h"

namespace tarmel {

LoadDecision DecideLoad(const TXml& document, const LoadRequest& request, DateLimits& limits) {
    LoadDecision d;
    d.user = ReadUserBlock(document);
    ReadDateLimits(document, limits);

    // The record kind, from the vehicle element when no client is shown.
    const TXml vehicle = RecordElementSource(document, "tVO");
    d.kind = DecideRecordKind(request.customerShown, XmlValueOf(vehicle, "TypeVO"),
                              XmlValueOf(vehicle, "StatutVD"), request.idTypeVO);
    d.recordSource = RecordElementSource(document, d.kind.table);
    const TXml& record = d.recordSource;
    d.frevoTotal = XmlValueOf(record, "Frevo");
    d.vehicleId = XmlValueOf(record, "idVO");
    XmlValue(record, "idtVO", d.vehicleId);
    if (request.customerShown) d.clientId = XmlValueOf(record, "idClient");
    d.concession = XmlValueOf(record, "Concession");
    d.site = UpperAscii(XmlValueOf(record, "Site"));
    d.owner = UpperAscii(XmlValueOf(record, "idOwner"));

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

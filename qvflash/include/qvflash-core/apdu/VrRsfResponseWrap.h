#pragma once

#include <qvflash-core/apdu/FcpDescriptorTag.h>
#include <qvflash-core/apdu/FcpFileIdTag.h>
#include <qvflash-core/apdu/FcpParametersTag.h>
#include <qvflash-core/apdu/FcpProfileIndicatorTag.h>
#include <qvflash-core/apdu/RecordStatusTag.h>
#include <qvflash-core/apdu/SecurityAttributesTag.h>

namespace qvfl::FCP {

// The FCP of an MVA record file as the card answers SELECT: every tag the
// library needs, parsed and checked.
class VrRsfResponseWrap {
public:
    static VrRsfResponseWrap makeFromTLVResponse(std::vector<std::uint8_t>& response);

    // The 1-based number of the first empty record, or one past the last
    // record when none is empty. Wider than a record number: with 255 records
    // in use, one past the last must not wrap onto record 0.
    std::uint16_t getFirstEmptyRecordId() const;

    FcpDescriptorTag descriptor;
    FcpFileIdTag fileIdTag;
    SecurityAttributesTag securityAttributes;
    FcpParametersTag parameters;
    FcpProfileIndicatorTag profileIndicator;
    RecordStatusTag recordStatus;

private:
    VrRsfResponseWrap(FcpDescriptorTag descriptor, FcpFileIdTag fileIdTag, SecurityAttributesTag securityAttributes,
                      FcpParametersTag parameters, FcpProfileIndicatorTag profileIndicator,
                      RecordStatusTag recordStatus);
};

} // namespace qvfl::FCP

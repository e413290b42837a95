#pragma once

#include "pkcs11/AttributeValues.h"
#include "pkcs11/Pkcs11Interface.h"
#include "token/types/AccessMode.h"
#include "token/types/LocalUserId.h"
#include "token/types/TouchMode.h"
#include "token/types/UserType.h"
#include "token/types/VolumeOwner.h"
#include "token/types/VolumeParams.h"

// The tool's values in the PKCS#11 module's codes and back. A value without a counterpart
// raises the error class of its kind (unknown access mode, user type, touch mode, owner).

unsigned long toPkcs(AccessMode mode);
AccessMode fromPkcs(unsigned long accessMode);

quorvik::pkcs11::UserType toPkcs(UserType user);

unsigned long toPkcs(TouchMode mode);
TouchMode fromPkcsTouchMode(unsigned long mode);

unsigned long toPkcs(const LocalUserId& id);

// The module's owner code: user, so or a local PIN. The module cannot give a volume to an MVA
// (NoMvaSupportError) or to nobody (NoneOwnerNotAllowedError).
unsigned long toPkcs(const VolumeOwner& owner);
// Codes from 3 name local PINs by their low 16 bits; 2 names nothing the tool knows.
VolumeOwner fromPkcsVolumeOwner(unsigned long code);

// The module formats user-file volumes with exactly one owner each.
CK_VOLUME_FORMAT_INFO_EXTENDED toPkcs(const VolumeParams& params);

#include "qvtoken-core/TokenPresets.h"

#include "qvtoken-core/FeatureObjects.h"
#include "qvtoken-core/SectionOwners.h"

#include <algorithm>
#include <functional>

namespace qvtoken {

const char* const defaultUserPin = "40417263";
const char* const defaultAdminPin = "59302814";

namespace {

// A support answer with neither the journal nor the partitioning bit.
const Bytes unsupportedExtInfo{0x40, 0x05, 0x04, 0x03, 0x00, 0x00, 0x00};

PinState pinWith(const char* value)
{
    PinState pin;
    pin.value = bytesOf(value);
    return pin;
}

// Serial, slot and label of a preset made from another one, behind a reader of its own.
void place(TokenState& t, std::uint64_t serial, unsigned long slotId, const char* label)
{
    t.serial = serial;
    t.label = t.defaultLabel = label;
    placeInSlot(t, slotId);
}

// No drive, and a card that answers the support query without partitioning or journal: the
// flash library reports such a token as not supported, so it keeps the PKCS#11 road.
void withoutDrive(TokenState& t)
{
    t.drive = Drive{};
    t.card.extInfo = unsupportedExtInfo;
}

// Everything a ZRN token of the newest firmware has: drive, local PIN, policy and touch.
TokenState fullToken()
{
    TokenState t;
    place(t, 1234567890, 1, "Stand-in A");
    t.hardwareVersion = {1, 0};
    t.firmwareVersion = {28, 5};
    t.tokenClass = 1;
    t.adminPin = pinWith(defaultAdminPin);
    t.userPin = pinWith(defaultUserPin);
    t.pinChangeFlags = 2;
    t.drive.present = true;
    t.drive.sizeMb = 1024;
    t.drive.sections = {userFilesSection(1, 512, 3, ownerUser), userFilesSection(2, 256, 1, 3),
                        userFilesSection(3, 256, 0, ownerAdmin)};
    LocalPin local;
    local.id = 3;
    local.pin = pinWith("13572468");
    t.directory.push_back(local);
    t.objects = {pinPolicyObject({}), touchObject(0, 10, 30), pinPolicyObject({}, 0)};
    return t;
}

TokenState withoutFlash()
{
    TokenState t = fullToken();
    place(t, 1234567891, 2, "Stand-in no drive");
    withoutDrive(t);
    return t;
}

TokenState moduleDrive()
{
    TokenState t = fullToken();
    place(t, 1234567892, 11, "Stand-in module drive");
    t.card.extInfo = unsupportedExtInfo;
    return t;
}

TokenState minimalClass2()
{
    TokenState t = fullToken();
    place(t, 2000000001, 3, "Stand-in B");
    t.hardwareVersion = {2, 1};
    t.firmwareVersion = {1, 3};
    t.tokenClass = 2;
    withoutDrive(t);
    t.directory.clear();
    t.objects = {pinPolicyObject({})};
    return t;
}

TokenState bare()
{
    TokenState t = minimalClass2();
    place(t, 2000000002, 4, "Stand-in bare");
    t.tokenClass = 1;
    t.objects.clear();
    return t;
}

TokenState selfNamed()
{
    TokenState t = fullToken();
    place(t, 3000000001, 5, "Stand-in C");
    t.featureNumber = 40;
    t.objects.push_back(tokenInfoObject("Кворвик Т2"));
    return t;
}

TokenState tlsToken()
{
    TokenState t = minimalClass2();
    place(t, 4000000001, 6, "Stand-in TLS");
    t.tls = true;
    return t;
}

TokenState policyMissingAttribute()
{
    TokenState t = minimalClass2();
    place(t, 5000000001, 7, "Stand-in policy gap");
    auto& attributes = t.objects.front().attributes;
    attributes.erase(std::remove_if(attributes.begin(), attributes.end(),
                                    [](const Attribute& a) { return a.type == feature::specCharRequired; }),
                     attributes.end());
    return t;
}

TokenState badTouchMode()
{
    TokenState t = minimalClass2();
    place(t, 5000000002, 8, "Stand-in touch 7");
    t.objects.push_back(touchObject(7, 10, 30));
    return t;
}

TokenState noChangePolicy()
{
    TokenState t = minimalClass2();
    place(t, 5000000003, 9, "Stand-in policy 0");
    t.pinChangeFlags = 0;
    return t;
}

TokenState unknownClass()
{
    TokenState t = minimalClass2();
    place(t, 5000000004, 10, "Stand-in class 3");
    t.tokenClass = 3;
    return t;
}

struct Preset {
    PresetInfo info;
    std::function<TokenState()> make;
};

const std::vector<Preset>& table()
{
    static const std::vector<Preset> all = {
        {{"full", "class 1, fw 28.5, 1024 MB drive with three volumes, local PIN 3, PIN policy, touch"}, fullToken},
        {{"no-flash", "as full, without a drive; the card reports no flash support"}, withoutFlash},
        {{"module-drive", "as full, but the card announces no flash support: the drive is reached through the module"},
         moduleDrive},
        {{"class2", "class 2, hw 2.1, fw 1.3, no drive, no touch object, PIN policy"}, minimalClass2},
        {{"bare", "class 1 without PIN policy and touch objects"}, bare},
        {{"named", "as full, with a self-identified model name"}, selfNamed},
        {{"tls", "a TLS token, never listed by the program"}, tlsToken},
        {{"policy-gap", "PIN policy object without the special-character attribute"}, policyMissingAttribute},
        {{"bad-touch", "touch object with mode 7"}, badTouchMode},
        {{"no-change-policy", "PIN change policy bits 0"}, noChangePolicy},
        {{"class3", "class 3 without a self-identified name"}, unknownClass},
    };
    return all;
}

} // namespace

const std::vector<PresetInfo>& presets()
{
    static const std::vector<PresetInfo> infos = [] {
        std::vector<PresetInfo> list;
        for (const auto& preset : table())
            list.push_back(preset.info);
        return list;
    }();
    return infos;
}

void placeInSlot(TokenState& token, unsigned long slotId)
{
    token.slotId = slotId;
    token.slotDescription = "Virtual token reader " + std::to_string(slotId);
}

TokenState makePreset(const std::string& name)
{
    for (const auto& preset : table())
        if (preset.info.name == name)
            return preset.make();
    throw UnknownPresetError(name);
}

} // namespace qvtoken

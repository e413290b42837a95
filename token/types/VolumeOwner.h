#pragma once

#include "token/types/LocalUserId.h"
#include "token/types/MvaId.h"
#include "token/types/UserType.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// A volume without owner: its access mode may be changed without any login.
struct None {
    static constexpr const char* text = "none";
};

// A volume whose access-switch operations are protected differently from one another.
struct MixedOwner {
    static constexpr const char* text = "mixed";
};

// A volume protected by something the tool cannot name, with the secret's id when there is one.
struct UnknownOwner {
    static constexpr const char* prefix = "unknown-";
    static constexpr const char* text = "unknown";

    std::optional<std::uint16_t> id;
};

// Who may change a volume's access mode. Mixed and unknown owners are only ever read from a
// token; the text forms accepted on the command line are user, so, local-N, mva-N and none.
class VolumeOwner {
public:
    enum class Type : int {
        User = 0,
        So = 1,
        LocalUser = 2,
        Mva = 3,
        None = 4,
        Mixed = 5,
        Unknown = 6,
    };

    // The empty state, which reading fills.
    VolumeOwner() = default;
    VolumeOwner(UserType user);
    VolumeOwner(LocalUserId localUser);
    VolumeOwner(MvaId mva);
    VolumeOwner(None none);
    VolumeOwner(MixedOwner mixed);
    VolumeOwner(UnknownOwner unknown);

    // Throws UnknownVolumeOwnerError in the empty state, UnknownUserTypeError for a user type
    // without a name.
    Type getType() const;

    const std::variant<std::monostate, UserType, LocalUserId, MvaId, None, MixedOwner, UnknownOwner>& value() const
    {
        return value_;
    }

private:
    std::variant<std::monostate, UserType, LocalUserId, MvaId, None, MixedOwner, UnknownOwner> value_;
};

// True exactly for "none".
bool toNone(const std::string& text);

// Throws UnknownVolumeOwnerError in the empty state.
std::string toString(const VolumeOwner& owner);

std::ostream& operator<<(std::ostream& out, const VolumeOwner& owner);
// Reads user, so, local-N, mva-N or none; any other word fails the stream.
std::istream& operator>>(std::istream& in, VolumeOwner& owner);

// The list form: owners joined by ",", as in user,mva-5.
std::ostream& operator<<(std::ostream& out, const std::vector<VolumeOwner>& owners);
// Reads one word of the list form; an empty item (a leading, doubled or trailing comma) fails
// the stream.
std::istream& operator>>(std::istream& in, std::vector<VolumeOwner>& owners);

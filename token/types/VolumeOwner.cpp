#include "token/types/VolumeOwner.h"

#include "cli/internalError.h"

#include <istream>
#include <ostream>
#include <sstream>

VolumeOwner::VolumeOwner(UserType user) : value_(user) {}

VolumeOwner::VolumeOwner(LocalUserId localUser) : value_(localUser) {}

VolumeOwner::VolumeOwner(MvaId mva) : value_(mva) {}

VolumeOwner::VolumeOwner(None none) : value_(none) {}

VolumeOwner::VolumeOwner(MixedOwner mixed) : value_(mixed) {}

VolumeOwner::VolumeOwner(UnknownOwner unknown) : value_(unknown) {}

namespace {
template <class... Visitors>
struct Overloaded : Visitors... {
    using Visitors::operator()...;
};
template <class... Visitors>
Overloaded(Visitors...) -> Overloaded<Visitors...>;
} // namespace

VolumeOwner::Type VolumeOwner::getType() const
{
    return std::visit(Overloaded{
                          [](std::monostate) -> Type { throw UnknownVolumeOwnerError(); },
                          [](UserType user) {
                              switch (user) {
                              case UserType::User:
                                  return Type::User;
                              case UserType::So:
                                  return Type::So;
                              }
                              throw UnknownUserTypeError();
                          },
                          [](const LocalUserId&) { return Type::LocalUser; },
                          [](const MvaId&) { return Type::Mva; },
                          [](None) { return Type::None; },
                          [](MixedOwner) { return Type::Mixed; },
                          [](const UnknownOwner&) { return Type::Unknown; },
                      },
                      value_);
}

bool toNone(const std::string& text)
{
    return text == None::text;
}

std::string toString(const VolumeOwner& owner)
{
    return std::visit(Overloaded{
                          [](std::monostate) -> std::string { throw UnknownVolumeOwnerError(); },
                          [](UserType user) {
                              if (const auto text = toString(user)) {
                                  return *text;
                              }
                              throw UnknownUserTypeError();
                          },
                          [](const LocalUserId& id) { return toString(id); },
                          [](const MvaId& id) { return toString(id); },
                          [](None) { return std::string(None::text); },
                          [](MixedOwner) { return std::string(MixedOwner::text); },
                          [](const UnknownOwner& unknown) {
                              return unknown.id ? UnknownOwner::prefix + std::to_string(*unknown.id)
                                                : std::string(UnknownOwner::text);
                          },
                      },
                      owner.value());
}

std::ostream& operator<<(std::ostream& out, const VolumeOwner& owner)
{
    return out << toString(owner);
}

namespace {
std::optional<VolumeOwner> toVolumeOwner(const std::string& word)
{
    if (const auto user = toEnum<UserType>(word)) {
        return VolumeOwner(*user);
    }
    if (const auto local = toLocalUserId(word)) {
        return VolumeOwner(*local);
    }
    if (const auto mva = toMvaId(word)) {
        return VolumeOwner(*mva);
    }
    if (toNone(word)) {
        return VolumeOwner(None{});
    }
    return std::nullopt;
}
} // namespace

std::istream& operator>>(std::istream& in, VolumeOwner& owner)
{
    std::string word;
    if (!(in >> word)) {
        return in;
    }
    if (const auto read = toVolumeOwner(word)) {
        owner = *read;
    } else {
        in.setstate(std::ios::failbit);
    }
    return in;
}

std::ostream& operator<<(std::ostream& out, const std::vector<VolumeOwner>& owners)
{
    const char* separator = "";
    for (const auto& owner : owners) {
        out << separator << owner;
        separator = ",";
    }
    return out;
}

std::istream& operator>>(std::istream& in, std::vector<VolumeOwner>& owners)
{
    std::string word;
    if (!(in >> word)) {
        return in;
    }
    // Every item between commas must be an owner, so a leading, doubled or trailing comma
    // fails the list instead of being skipped, and a failed list leaves the target alone.
    std::vector<VolumeOwner> read;
    std::istringstream items(word);
    std::string item;
    while (std::getline(items, item, ',')) {
        const auto owner = toVolumeOwner(item);
        if (!owner) {
            in.setstate(std::ios::failbit);
            return in;
        }
        read.push_back(*owner);
    }
    if (word.back() == ',') {
        in.setstate(std::ios::failbit);
        return in;
    }
    owners.insert(owners.end(), read.begin(), read.end());
    return in;
}

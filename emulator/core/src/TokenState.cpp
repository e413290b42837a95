#include "qvtoken-core/TokenState.h"

#include <algorithm>

namespace qvtoken {

const Attribute* FeatureObject::find(unsigned long type) const
{
    auto it = std::find_if(attributes.begin(), attributes.end(), [type](const Attribute& a) { return a.type == type; });
    return it == attributes.end() ? nullptr : &*it;
}

Attribute* FeatureObject::find(unsigned long type)
{
    return const_cast<Attribute*>(static_cast<const FeatureObject&>(*this).find(type));
}

unsigned long entryId(const DirectoryEntry& entry)
{
    return std::visit([](const auto& e) { return e.id; }, entry);
}

namespace {

template <typename T, typename Directory>
auto findEntry(Directory& directory, unsigned long id) -> decltype(std::get_if<T>(&directory.front()))
{
    for (auto& entry : directory) {
        auto* found = std::get_if<T>(&entry);
        if (found != nullptr && found->id == id)
            return found;
    }
    return nullptr;
}

} // namespace

LocalPin* TokenState::findLocalPin(unsigned long id)
{
    return findEntry<LocalPin>(directory, id);
}

const LocalPin* TokenState::findLocalPin(unsigned long id) const
{
    return findEntry<LocalPin>(directory, id);
}

MvaFile* TokenState::findMva(unsigned long id)
{
    return findEntry<MvaFile>(directory, id);
}

Section* Drive::findSection(unsigned number)
{
    auto it = std::find_if(sections.begin(), sections.end(), [number](const Section& s) { return s.number == number; });
    return it == sections.end() ? nullptr : &*it;
}

unsigned Drive::currentAccess(const Section& section) const
{
    for (const auto& [number, state] : temporaryStates)
        if (number == section.number)
            return state;
    return section.access;
}

void Drive::setAccess(Section& section, unsigned state, bool temporary)
{
    temporaryStates.erase(std::remove_if(temporaryStates.begin(), temporaryStates.end(),
                                         [&](const auto& entry) { return entry.first == section.number; }),
                          temporaryStates.end());
    if (temporary)
        temporaryStates.emplace_back(section.number, state);
    else
        section.access = state;
}

void Drive::replaceUserSections(std::vector<Section> userSections)
{
    for (auto& section : sections) {
        if (section.type == 0)
            continue;
        section.number = static_cast<unsigned>(userSections.size() + 1);
        section.rawOverride.reset();
        userSections.push_back(std::move(section));
    }
    sections = std::move(userSections);
    temporaryStates.clear();
}

void TokenState::replug()
{
    drive.temporaryStates.clear();
    ++card.plugGeneration;
    // Rules meant for "after the next replug" take part from now on.
    for (auto& fault : cardFaults)
        fault.afterReplug = false;
}

} // namespace qvtoken

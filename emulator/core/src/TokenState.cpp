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
        if (found != nullptr && found->id == id) return found;
    }
    return nullptr;
}

}  // namespace

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

Volume* TokenState::findVolume(unsigned long id)
{
    auto it = std::find_if(volumes.begin(), volumes.end(), [id](const Volume& v) { return v.id == id; });
    return it == volumes.end() ? nullptr : &*it;
}

void TokenState::replug()
{
    for (auto& volume : volumes) volume.temporaryAccess.reset();
    card.temporaryStates.clear();
    ++card.plugGeneration;
    // Rules meant for "after the next replug" take part from now on.
    for (auto& fault : cardFaults) fault.afterReplug = false;
}

}  // namespace qvtoken

#pragma once

#include "cli/BoostOptionsAdapter.h"
#include "cli/GeneralOptionsInfo.h"

namespace options {

// Builds one titled group of general options; their texts are shown as written.
template <typename... Opts>
class BoostGeneralOptionsAdapter : public BoostOptionsAdapter<Opts...> {
public:
    explicit BoostGeneralOptionsAdapter(const GeneralOptionsInfo<Opts...>* info)
        : BoostOptionsAdapter<Opts...>(holder, &BoostOptionsAdapter<Opts...>::defaultFormatter), info(info)
    {
    }

    boost::program_options::options_description getOptionsDescription(const Config& config) const
    {
        boost::program_options::options_description desc(info->categoryName(), kLineLength, kMinDescriptionLength);
        this->addOptionsDescription(config, desc);
        return desc;
    }

private:
    // Stateless: every holder of one list hands out the same option objects.
    static inline const OptionsHolder<Opts...> holder{};
    const GeneralOptionsInfo<Opts...>* info;
};

} // namespace options

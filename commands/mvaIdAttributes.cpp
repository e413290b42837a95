#include "commands/mvaIdAttributes.h"

TypedOptionAttributes<unsigned short> mvaIdAttributes()
{
    return {{"mva-id", std::nullopt},
            {"ID of the MVA object on token.", "Идентификатор объекта MVA на токене."},
            std::nullopt,
            std::nullopt,
            true,
            false,
            nullptr};
}

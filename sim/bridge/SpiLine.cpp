#include "sim/bridge/SpiLine.h"

namespace sim {

void SpiLine::setFaultRates(double corruptRate, double dropRate, std::uint32_t seed)
{
    corruptRate_ = corruptRate;
    dropRate_ = dropRate;
    random_.seed(seed);
}

std::uint8_t SpiLine::exchange(std::uint8_t mosi, bool selected)
{
    if (peripheral_ == nullptr || !selected)
        return idleLevel_;

    std::uint8_t miso = peripheral_->nextOutByte();
    if (hit(dropRate_))
        miso = peripheral_->nextOutByte();
    if (hit(corruptRate_))
        miso = corrupted(miso);

    if (hit(corruptRate_))
        mosi = corrupted(mosi);
    if (!hit(dropRate_))
        peripheral_->receive(mosi);
    return miso;
}

bool SpiLine::hit(double probability)
{
    if (probability <= 0.0)
        return false;
    return static_cast<double>(random_()) < probability * 4294967296.0;
}

std::uint8_t SpiLine::corrupted(std::uint8_t byte)
{
    return static_cast<std::uint8_t>(byte ^ (1u << (random_() % 8)));
}

} // namespace sim

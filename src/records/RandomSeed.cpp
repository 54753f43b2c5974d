#include "records/RandomSeed.h"

#include "common/DateTime.h"

namespace kesmaro {

void RandomizeSeed(Context& ctx)
{
    const DateTime now(ctx.services.clock.Now());
    const int msSinceMidnight =
        ((now.hour() * 60 + now.minute()) * 60 + now.second()) * 1000 + now.millisecond();
    const double secondsSinceMidnight = msSinceMidnight / 1000.0;
    ctx.random.RandomizeSeed(static_cast<double>(ctx.services.clock.TickMs()),
                             secondsSinceMidnight);
}

} // namespace kesmaro

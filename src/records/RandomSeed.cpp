#include "records/RandomSeed.h"

#include "common/Format.h"
#include "config/CommonQt.h"

#include <QTime>

namespace kesmaro {

void RandomizeSeed(Context& ctx)
{
    const QTime time = ToQDateTime(ctx.services.clock.Now()).time();
    const double secondsSinceMidnight = time.msecsSinceStartOfDay() / 1000.0;
    ctx.random.RandomizeSeed(static_cast<double>(ctx.services.clock.TickMs()),
                             secondsSinceMidnight);
}

} // namespace kesmaro

// The ratio a benchmark prints (`ratio <case> <value>`): a work against its baseline in one run.
#pragma once

// Runs both alternately for about `seconds` (at least five turns each) and returns the fastest turn
// of the work over the fastest turn of the baseline: the machine is shared, a load from elsewhere
// slows both alike only when they alternate, and the fastest turn is the least disturbed one.
double MeasureRatio(void (*work)(), void (*baseline)(), double seconds);

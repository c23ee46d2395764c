#pragma once

#include "lists/summary_queries.h"

#include <functional>

class TData;

// The steps of the user datasets frUserDataset1 to frUserDataset4 of the data module, which the summary
// layouts walk: 1 walks the animal groups of ZQ20 and 3 the producer groups, reloading the current group's
// lines into ZQ21 (and, per producer, its total into ZQ80) at each step; 2 and 4 walk those lines. Each step
// reads the period and date basis of the open summary window at the moment it runs.
namespace vardelo::lists {

void frUserDataset1First(const SummaryPeriod& period);
void frUserDataset1Next(const SummaryPeriod& period);
void frUserDataset3First(const SummaryPeriod& period);
void frUserDataset3Next(const SummaryPeriod& period);
// The end of a group walk: ZQ20 closed, empty or past its last row.
void frUserDataset1CheckEOF(bool& eof);
void frUserDataset3CheckEOF(bool& eof);
// The line walks (2 and 4) over ZQ21.
void frUserDatasetLinesFirst();
void frUserDatasetLinesNext();
void frUserDatasetLinesCheckEOF(bool& eof);

// Hands the steps to the data module's user datasets; period is asked each time a step runs.
void connectSummaryDatasets(TData& data, std::function<SummaryPeriod()> period);
// Takes them off again (the window that gave the period closes).
void disconnectSummaryDatasets(TData& data);

} // namespace vardelo::lists

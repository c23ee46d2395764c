// Interim: the report objects are created here until the report service lands.
#include "data/data_module.h"

void TData::createReportObjects() {}
void TData::destroyReportObjects() {}

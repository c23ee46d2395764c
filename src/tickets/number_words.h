#pragma once

#include <QString>
#include <QtGlobal>

namespace vardelo {

// The amount payable in Hungarian words, as the printed ticket writes it: 1234 gives
// "egyezer-kettöszázharmincnégy " (the last group followed by one blank), 2000 gives "kettöezer-" (an empty
// last group adds nothing), 0 gives "nulla", -5 gives "mínusz öt ".
QString SzamBetuvel(qint32 number);

// The words of one group of three digits ("115" gives "száztizenöt", "000" gives ""). Shorter text is read as
// if padded with "0" on the left; characters other than digits count as 0.
QString HarmasBetuvel(const QString& threeDigits);

} // namespace vardelo

#pragma once

#include "data/text_formats.h"

#include <QString>
#include <QStringList>
#include <optional>

// The pure rules of the producer and animal registers: the next code, and the checks of the two entry
// windows.
namespace vardelo {

// The code of a new producer or animal: the highest of the given codes read as a whole number, plus one (1
// when there is none). Codes that cannot be read as whole numbers are passed over.
int nextCode(const QStringList& codes);

// The first failed check of an entry window: the message to show and the component name of the field that
// gets the focus.
struct EntryProblem {
    QString message;
    QString field;
};

// What the clerk typed into the producer entry, field by field.
struct ProducerEntryTexts {
    QString nev;          // Edit3
    QString irszam;       // Edit4
    QString helysegnev;   // Edit5
    QString utca;         // Edit6
    QString adoazon;      // Edit7
    QString igszam;       // Edit8
    QString regszam;      // Edit9
    QString szja;         // Edit10
    QString szulhely;     // Edit11
    QString szido;        // Edit12
    QString anyja;        // Edit13
    QString csgazd;       // Edit15
    QString neme;         // Edit16
    QString szulnev;      // Edit17
    QString taj;          // Edit18
    QString adoszam;      // Edit19
    QString bankszla;     // Edit20
    QString ervkelt;      // Edit21
    bool uresTaj = false; // CheckBox1: store the TAJ as typed, even empty, short or wrong
};

// What the registers' numeric fields take: the producer's SZJA per cent, the animal's unit price and its
// compensation per cent.
inline constexpr NumberLimit ProducerSzjaLimit{0, 100, 0};
inline constexpr NumberLimit AnimalPriceLimit{0, 999999, 4};
inline constexpr NumberLimit AnimalCompensationLimit{0, 100, 0};

// The 24 checks of the producer entry in their order, then the SZJA per cent within its limit; nothing when
// all pass.
std::optional<EntryProblem> checkProducerEntry(const ProducerEntryTexts& entry);

// What the clerk typed into the animal entry.
struct AnimalEntryTexts {
    QString kod;         // Edit2
    QString megnevezes;  // Edit3
    QString vtsz;        // Edit4
    QString ear;         // Edit5
    QString megy;        // Edit6
    QString kompmerteke; // Edit7
};

// The 5 checks of the animal entry in their order, then the unit price and the compensation per cent within
// their limits; nothing when all pass.
std::optional<EntryProblem> checkAnimalEntry(const AnimalEntryTexts& entry);

} // namespace vardelo

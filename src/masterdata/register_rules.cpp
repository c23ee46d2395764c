#include "masterdata/register_rules.h"

#include "data/identifier_checks.h"
#include "data/text_formats.h"

#include <algorithm>

namespace vardelo {

int nextCode(const QStringList& codes) {
    int highest = 0;
    bool any = false;
    for (const QString& code : codes) {
        const std::optional<int> number = parseIntegerText(code);
        if (!number)
            continue;
        highest = any ? std::max(highest, *number) : *number;
        any = true;
    }
    return any ? highest + 1 : 1;
}

std::optional<EntryProblem> checkProducerEntry(const ProducerEntryTexts& e) {
    using P = EntryProblem;
    if (isBlank(e.nev))
        return P{QStringLiteral("Nincs megadva a neve!"), QStringLiteral("Edit3")};
    if (isBlank(e.irszam))
        return P{QStringLiteral("Nincs megadva az irányitószám!"), QStringLiteral("Edit4")};
    if (isBlank(e.helysegnev))
        return P{QStringLiteral("Nincs megadva a helységnév!"), QStringLiteral("Edit5")};
    if (isBlank(e.utca))
        return P{QStringLiteral("Nincs megadva az utca!"), QStringLiteral("Edit6")};
    if (isBlank(e.adoazon))
        return P{QStringLiteral("Nincs megadva az adóazonositó!"), QStringLiteral("Edit7")};
    if (isBlank(e.igszam))
        return P{QStringLiteral("Nincs megadva az őstermelő ig.szám!"), QStringLiteral("Edit8")};
    if (isBlank(e.szja))
        return P{QStringLiteral("Nincs megadva az szja!"), QStringLiteral("Edit10")};
    if (isBlank(e.szulhely))
        return P{QStringLiteral("Nincs megadva a születési hely!"), QStringLiteral("Edit11")};
    if (isBlank(e.szido))
        return P{QStringLiteral("Nincs megadva a születési idő!"), QStringLiteral("Edit12")};
    if (isBlank(e.anyja))
        return P{QStringLiteral("Nincs megadva az anyja neve!"), QStringLiteral("Edit13")};
    if (isBlank(e.neme))
        return P{QStringLiteral("Nincs megadva a neme!"), QStringLiteral("Edit16")};
    if (isBlank(e.szulnev))
        return P{QStringLiteral("Nincs megadva a születési neve!"), QStringLiteral("Edit17")};
    if (isBlank(e.taj) && !e.uresTaj)
        return P{QStringLiteral("Nincs megadva a TAJ!"), QStringLiteral("Edit18")};
    if (isBlank(e.adoszam))
        return P{QStringLiteral("Nincs megadva az adószáma!"), QStringLiteral("Edit19")};
    if (e.igszam.length() < 6)
        return P{QStringLiteral("Az őstermelő ig.szám kevésebb mint 6 karakter!"), QStringLiteral("Edit8")};
    if (e.igszam.length() > 7)
        return P{QStringLiteral("Az őstermelő ig.szám többmint 7 karakter!"), QStringLiteral("Edit8")};
    if (!parseDateText(e.szido))
        return P{QStringLiteral("A születési idö dátum formátuma nem megfelelö!"), QStringLiteral("Edit12")};
    if (!parseDateText(e.ervkelt))
        return P{QStringLiteral("Az érvényesités dátum formátuma nem megfelelö!"), QStringLiteral("Edit21")};
    if (e.adoazon.length() != 10)
        return P{QStringLiteral("Nem 10 hosszú számsor"), QStringLiteral("Edit7")};
    if (!adoazonositoValid(e.adoazon))
        return P{QStringLiteral("Hibás adóazonositó"), QStringLiteral("Edit7")};
    if (e.adoszam.length() != 11)
        return P{QStringLiteral("Kevesebb mint 11 hosszú számsor"), QStringLiteral("Edit19")};
    if (!adoszamValid(e.adoszam))
        return P{QStringLiteral("Hibás adószám"), QStringLiteral("Edit19")};
    if (e.taj.length() == 9 && !tajValid(e.taj) && !e.uresTaj)
        return P{QStringLiteral("Hibás TAJ"), QStringLiteral("Edit18")};
    if (e.taj.length() != 9 && !e.uresTaj)
        return P{QStringLiteral("Kevesebb mint 9 hosszú számsor"), QStringLiteral("Edit18")};
    if (const QString problem = numberFieldProblem(QStringLiteral("Az szja "), e.szja, ProducerSzjaLimit);
        !problem.isEmpty())
        return P{problem, QStringLiteral("Edit10")};
    return std::nullopt;
}

std::optional<EntryProblem> checkAnimalEntry(const AnimalEntryTexts& e) {
    using P = EntryProblem;
    if (isBlank(e.kod))
        return P{QStringLiteral("Nincs megadva a kód!"), QStringLiteral("Edit2")};
    if (isBlank(e.megnevezes))
        return P{QStringLiteral("Nincs megadva a megnevezés!"), QStringLiteral("Edit3")};
    if (isBlank(e.ear))
        return P{QStringLiteral("Nincs megadva a mennyiség!"), QStringLiteral("Edit5")};
    if (isBlank(e.megy))
        return P{QStringLiteral("Nincs megadva a mennyiség egység!"), QStringLiteral("Edit6")};
    if (isBlank(e.kompmerteke))
        return P{QStringLiteral("Nincs megadva a komp.mérték!"), QStringLiteral("Edit7")};
    if (const QString problem = numberFieldProblem(QStringLiteral("Az egységár "), e.ear, AnimalPriceLimit);
        !problem.isEmpty())
        return P{problem, QStringLiteral("Edit5")};
    if (const QString problem =
            numberFieldProblem(QStringLiteral("A komp.mérték "), e.kompmerteke, AnimalCompensationLimit);
        !problem.isEmpty())
        return P{problem, QStringLiteral("Edit7")};
    return std::nullopt;
}

} // namespace vardelo

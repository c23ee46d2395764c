#pragma once

#include "data/immediate_write.h"

#include <QString>
#include <optional>

// The statements of the producer and animal windows: the producer list (Data->ZQ30) and the animal list
// (Data->ZQ40) as the browsers and entry windows open and position them, the lookups they make with
// Data->ZQ31 and Data->ZQ41, and their writes. A database error is raised to the window.
namespace vardelo {

// The order labels of the two browsers after the list has been reopened in name order.
QString producerNameOrderLabel();
QString animalNameOrderLabel();

// Reopen the list in the order of the clicked column title and give the order label; nothing (and the list
// untouched) for a title without an order.
std::optional<QString> sortProducers(const QString& fieldName);
std::optional<QString> sortAnimals(const QString& fieldName);

// Reopens the producer list in name order.
void openProducersByName();
// Makes the producer with this code current: the one whose code is exactly this (letter case aside), else the
// first whose code begins with it. The list stays where it is when none does.
bool locateProducer(const QString& code);
// Whether the producer has a printed ticket of any purchaser.
bool producerOnPrintedTicket(const QString& code);
// Producers in the register.
int producerCount();
// The code a new producer gets: one above the highest of the register's codes and the producer codes on
// tickets, so the code of a deleted producer is never handed out again.
int nextProducerCode();

// Reopens the producer list in the order of the printed producer list (name, then date of birth).
void openProducersForPrint();
// Deletes the producer row of this ID and commits at once; the row as the list read it is checked first
// (another desk's change or delete since is refused with ERowChanged).
void deleteProducerRow(const QString& id, const RowAsRead& asRead);
// Writes a producer through ZQ30: an UPDATE of the row of the changed ID (checked against the row as the
// window read it), else an INSERT; :p1 to :p19 are the columns o_kod to o_Ervkelt in the statements' order.
// The commit is the caller's.
void writeProducer(const std::optional<QString>& changedId, const QueryParams& fields,
                   const RowAsRead& asRead = {});

// Reopens the animal list in name order.
void openAnimalsByName();
// Makes the first animal whose name begins with the text current (an empty text: the first row).
bool locateAnimalByName(const QString& prefix);
// Makes the animal with this code current: the one whose code is exactly this, else the first whose code
// begins with it.
bool locateAnimalByCode(const QString& code);
int animalCount();
// The code a new animal gets: one above the highest of the catalogue's codes and the animal codes on ticket
// lines.
int nextAnimalCode();
// Reopens the animal list for the printed animal list (name order).
void openAnimalsForPrint();
// Deletes the animal row of this ID and commits at once; the row as the list read it is checked first.
void deleteAnimalRow(const QString& id, const RowAsRead& asRead);
// Writes an animal through ZQ40: an UPDATE of the row of the changed ID (checked against the row as the
// window read it), else an INSERT; :p1 to :p6 are the columns t_kod to t_Kompmerteke in the statements'
// order. The commit is the caller's.
void writeAnimal(const std::optional<QString>& changedId, const QueryParams& fields,
                 const RowAsRead& asRead = {});

} // namespace vardelo

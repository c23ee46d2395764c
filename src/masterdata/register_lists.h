#pragma once

#include <QString>
#include <optional>

// The producer list (Data->ZQ30) and the animal list (Data->ZQ40) as the browsers and entry windows open and
// position them, and the lookups they make with Data->ZQ31 and Data->ZQ41.
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

} // namespace vardelo

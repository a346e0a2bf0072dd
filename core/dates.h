#pragma once
// Calendar dates as the user types and reads them (day/month/year).

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace dz {

using Date = std::chrono::year_month_day;

// What counts as a date typed by a person, in one place:
// - blanks around the text are ignored;
// - day, month and year in that order, each separated by "/", "-" or ".";
// - day and month take one or two digits;
// - the year takes four digits (0100 to 9999) or two (00-29 mean 2000-2029, 30-99 mean 1930-1999);
// - day and month alone mean that day in the current year (anneeCourante);
// - the day must exist in that month (31/04, 29/02 of a common year and 00/05 are not dates);
// - anything else (empty text, letters, trailing characters, a third digit) is not a date.
std::optional<Date> reconnaitDate(std::string_view texte, std::chrono::year anneeCourante);

// "dd/mm/yyyy".
std::string ecritDate(Date d);

// Whether the date lies in 01/01/0100 - 31/12/9999, the dates a user can type and read back.
constexpr bool dansCalendrier(Date d)
{
    return d.year() >= std::chrono::year{100} && d.year() <= std::chrono::year{9999};
}

// Whole days from `de` to `a` (negative when `a` comes first).
long joursEntre(Date de, Date a);

Date ajouteJours(Date d, long jours);

// Calendar months added; a day past the end of the target month becomes its last day.
Date ajouteMois(Date d, int mois);

// Month boundaries from `de` to `a`, days ignored.
int moisEntre(Date de, Date a);

// Age in whole years: month boundaries divided by 12, rounded down (days ignored).
int ageAnnees(Date naissance, Date calcul);

// 1 for Monday to 7 for Sunday.
int jourSemaine(Date d);

} // namespace dz

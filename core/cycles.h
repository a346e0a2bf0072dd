#pragma once
// The three cycles, read off the curves the chart draws. The geometry of the chart box is
// part of the arithmetic: a value is the curve's pixel height at the chart-date column.

#include "core/dates.h"

#include <array>
#include <optional>
#include <vector>

namespace dz {

constexpr double Pi = 3.14159265358979;           // the decimal constant, not M_PI
constexpr double MargeHaute = 13;                 // assumed top margin when a value is read back
constexpr std::array<int, 3> Periode{33, 28, 23}; // intellectual, emotional, physical
constexpr int JoursGraphe = 33;                   // a chart spans 33 days, on screen and on paper
constexpr int JoursAvant = 16;        // its left edge stands 16 days before the day counted
constexpr int PasMarqueurNormal = 16; // the day line that carries the chart-date marker
constexpr int PasMarqueurTerme = 31;  // the same in near-term mode

// Near the term, the chart is drawn for the day 15 days before it: the term then falls on day
// line 31, and the values shown are read there.
constexpr int JoursAvantTerme = 15;
Date jourGrapheTerme(Date terme);
double joursVecusTerme(Date naissance, Date terme);

// The day the strip's first label names: that of day line 1, 15 days before the chart's day.
Date premierJourBande(Date jourGraphe);

// Units of length per radian of a cycle of `periode` days, for days `largeurJour` wide.
double diviseur(double largeurJour, int periode);

struct Geometrie {
    double W = 0, H = 0;
    double DX = 0;                    // pixels per day
    double A = 0;                     // amplitude
    double Y0 = 0;                    // zero line
    double X0 = 0;                    // phase position of the left edge
    std::array<double, 3> Diviseur{}; // pixels per radian of each cycle
};

// D is the day count; the chart's left edge stands 16 days before it.
Geometrie geometrie(double W, double H, double D);

// Positions t of the day lines n = 1, 2, ... by repeated addition of DX while t <= W;
// element n - 1 is line n.
std::vector<double> lignesJours(const Geometrie& g);

// Column of the marker standing on day line `pas`: floor of its accumulated position.
int colonneMarqueur(const Geometrie& g, int pas);

struct Courbes {
    std::vector<std::array<double, 3>> y;      // y of each cycle at each column j
    std::array<std::optional<int>, 3> valeurs; // read back at the marker column
};

// Samples the three curves column by column (x advanced by repeated addition of 1 from X0
// while x <= X0 + W) and reads each value at the column whose floor(x - X0) equals M.
Courbes calculeCourbes(const Geometrie& g, int M);

// The printed chart on a page W x H twips wide and high, for the day count D.
struct GeometriePage {
    double d = 0;              // one day
    double C = 0;              // the chart's width, 33 days
    double T = 0;              // top of the chart band
    double B = 0;              // height of the band
    double M = 0;              // from T to the zero line
    double A = 0;              // amplitude of a curve
    double L = 0;              // x of the first day number
    int pen = 1;               // width of the dotted curves' dots, in printer pixels
    double X0 = 0;             // phase position of the left edge
    std::array<double, 3> E{}; // twips per radian of each cycle
};
GeometriePage geometriePage(double W, double H, double D);

// The page size, up to the sheet's, whose printed chart still fits in a printable area of
// `zone` twips (the chart spans 33 days of W / 45; the band and the day numbers under it end
// 2H / 5 + 250 twips down).
double largeurPage(double feuille, double zone);
double hauteurPage(double feuille, double zone);

// Mood face 0 (furious) to 6 (laughing) for a value; bounds belong to the lower level.
int niveau(int valeur);

} // namespace dz

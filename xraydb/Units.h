// Display units for energies (eV, keV, A, deg) and the conversions between
// them. The angle depends on the lattice spacing d of the crystal in use,
// which the schedule editor sets through setD() when its crystal changes; d is
// process-wide, so the last value set is the one every conversion uses.
#pragma once

#include <QObject>
#include <QString>

class Units : public QObject
{
    Q_OBJECT
public:
    static constexpr double pi = 3.14159265358979323846;
    static constexpr double hcKeVA = 12.398424360742055;

    double d() const { return m_d; }

    static int count() { return 4; }
    // "eV", "keV", "A", "deg"; empty for an unknown index.
    static QString name(int unit);
    // "% 8.2f" for eV, "% 8.5f" for the others.
    static QString format(int unit);
    // value printed with the unit's format
    static QString print(double value, int unit);

    double fromEV(double e, int unit) const;
    double toEV(double v, int unit) const;

public slots:
    void setD(double d);

private:
    double m_d = 3.13553;
};

// The process-wide instance.
Units &units();

// Free forms of the conversions, using units().
double fromEV(double e, int unit);
double toEV(double v, int unit);

// Numbers shown to the user and numbers typed by the user, with the locale's decimal separator
// (files always use "."; see fichiers/NombresIni.h).
#pragma once

#include <QLocale>
#include <QString>
#include <optional>

// Fixed notation with `decimales` decimals, rounded to at most `precision` significant digits:
// (12.5, 5, 2) gives "12,50" in French, (1234.567, 5, 2) "1234,60". A number with more integer
// digits than `precision` is written in exponent form ("1,2346E+05"). No group separator.
QString TexteFixe(double valeur, int precision, int decimales, const QLocale& locale = QLocale());

// A number typed by the user: blanks around it allowed, the first "." and the first "," both
// read as the decimal separator. nullopt when the text is not a finite number ("", "-", "1,2,3").
std::optional<double> LitNombreSaisi(const QString& texte, const QLocale& locale = QLocale());

// the message of a text that is not a number
QString MessageNombreInvalide(const QString& texte);

// A typed number kept in single precision, as the cue and the 3D models hold them: nullopt with
// the message for the user when it is not a number or lies beyond the single float range.
std::optional<float> LitSimpleSaisi(const QString& texte, QString* message = nullptr,
                                    const QLocale& locale = QLocale());

// the locale's decimal separator as one character ("." when it is not a single Latin-1 one)
char SeparateurDecimal(const QLocale& locale = QLocale());

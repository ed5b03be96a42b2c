#include "widgets/NombresAffiches.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// a number in fixed or exponent form with "." whatever the C locale: QApplication sets it from
// the environment, and printf would then write "12,50" for an English QLocale too
std::string Imprime(double valeur, std::chars_format forme, int decimales) {
    char tampon[400];
    const auto r = std::to_chars(tampon, tampon + sizeof tampon, valeur, forme, decimales);
    if (r.ec != std::errc()) return {};
    std::string s(tampon, r.ptr);
    if (forme == std::chars_format::scientific) std::replace(s.begin(), s.end(), 'e', 'E');
    return s;
}

// decimal exponent of the value once rounded to `precision` significant digits
int Exposant(double valeur, int precision) {
    const std::string e = Imprime(valeur, std::chars_format::scientific, precision - 1);
    const std::size_t p = e.find('E');
    return p == std::string::npos ? 0 : std::atoi(e.c_str() + p + 1);
}

QString AvecSeparateur(const std::string& texte, const QLocale& locale) {
    QString s = QString::fromLatin1(texte.c_str());
    s.replace(QLatin1Char('.'), locale.decimalPoint());
    return s;
}

}  // namespace

QString TexteFixe(double valeur, int precision, int decimales, const QLocale& locale) {
    if (std::isnan(valeur)) return QStringLiteral("NAN");
    if (std::isinf(valeur)) return valeur > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    precision = std::clamp(precision, 1, 18);
    decimales = std::clamp(decimales, 0, 18);

    // too many integer digits for the precision: exponent form
    const int e = valeur == 0 ? 0 : Exposant(valeur, precision);
    if (e >= precision)
        return AvecSeparateur(Imprime(valeur, std::chars_format::scientific, precision - 1), locale);

    // rounded once, at the decimals or at the last significant digit, then padded with zeros
    const int d = std::max(0, std::min(decimales, precision - 1 - e));
    std::string s = Imprime(valeur, std::chars_format::fixed, d);
    if (decimales > 0) {
        if (d == 0) s += '.';
        s.append(std::size_t(decimales - d), '0');
    }
    // no "-0,00"
    if (s.front() == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return AvecSeparateur(s, locale);
}

std::optional<double> LitNombreSaisi(const QString& texte, const QLocale& locale) {
    QString s = texte.trimmed();
    if (s.isEmpty()) return std::nullopt;
    // "." and "," both mean the decimal separator, once each
    for (const QChar c : {QLatin1Char('.'), QLatin1Char(',')}) {
        const qsizetype i = s.indexOf(c);
        if (i >= 0) s.replace(i, 1, locale.decimalPoint());
    }
    QLocale lecture = locale;
    lecture.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = lecture.toDouble(s, &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

QString MessageNombreInvalide(const QString& texte) {
    return QStringLiteral("« %1 » n'est pas un nombre correct.").arg(texte);
}

std::optional<float> LitSimpleSaisi(const QString& texte, QString* message, const QLocale& locale) {
    const std::optional<double> v = LitNombreSaisi(texte, locale);
    if (!v) {
        if (message) *message = MessageNombreInvalide(texte);
        return std::nullopt;
    }
    const float f = float(*v);
    if (!std::isfinite(f)) {
        if (message) *message = QStringLiteral("« %1 » est trop grand.").arg(texte);
        return std::nullopt;
    }
    return f;
}

char SeparateurDecimal(const QLocale& locale) {
    const QString p = locale.decimalPoint();
    if (p.size() != 1 || p.at(0).unicode() > 0x7f) return '.';
    return char(p.at(0).unicode());
}

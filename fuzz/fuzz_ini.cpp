// INI reader and writer: any bytes load; an untouched file prints back unchanged; a written
// entry reads back.
// sources: fichiers/FichierIni.cpp fichiers/NombresIni.cpp fichiers/EcritureAtomique.cpp
// sources: fichiers/NomLisible.cpp
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fichiers/FichierIni.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t taille) {
    const std::string texte(reinterpret_cast<const char*>(data), taille);
    TFichierIni ini;
    ini.ChargeTexte(texte);
    if (ini.Texte() != texte) std::abort();

    for (const char* section : {"Dimensions", "Queue", "Positions", "GLBillard"})
        for (const std::string& cle : ini.Cles(section)) (void)ini.LitReel(section, cle, 0);

    ini.EcritReel("Dimensions", "LargJeu", 142.25);
    ini.EcritTexte("GLBillard", "FisikFile", "a b=c");
    ini.EffaceCles("DerniersVels");
    ini.EcritTexte("DerniersVels", "Vel0", "x.vel");
    TFichierIni relu;
    relu.ChargeTexte(ini.Texte());
    if (relu.LitReel("dimensions", "largjeu", 0) != 142.25) std::abort();
    if (relu.LitTexte("glbillard", "fisikfile", "") != "a b=c") std::abort();
    if (relu.LitTexte("DerniersVels", "Vel0", "") != "x.vel") std::abort();
    return 0;
}

// A short digest of some bytes, to tell whether an input changed between two runs or differs
// between the machines of one job (64-bit FNV-1a, as 16 hexadecimal digits). It tells contents
// apart; it is no defence against contents forged to collide.
#pragma once

#include <string>
#include <string_view>

std::string Empreinte(std::string_view octets);
// the digest of a file's whole content (read as LitFichier reads); false with the reason
bool EmpreinteFichier(const std::string& nomFichier, std::string& empreinte, std::string* erreur = nullptr);

// The options of a command as a table, read the same way by every command: "--nom valeur" or
// "--nom=valeur", flags that take no value, arguments that are no option. Options that two
// commands share are read by a table of their own that leaves the other arguments to the next.
#pragma once

#include <functional>
#include <string>
#include <vector>

enum class TGenreOption {
    Drapeau,  // no value: "--nom=..." is refused
    Valeur,   // a value, in the same argument after "=" or as the next argument
    Refusee,  // known, but not for this command: always refused
};

struct TOptionCli {
    const char* nom;
    TGenreOption genre;
    // takes the value (empty for a flag); false with the message in *erreur
    std::function<bool(const std::string& valeur, std::string* erreur)> lit;
};

// Every argument read against the table: an option it does not hold is refused, an argument that
// is no option goes to positionnel (false with the message). False with the message.
bool LitOptionsCli(const std::vector<std::string>& args, const std::vector<TOptionCli>& table,
                   const std::function<bool(const std::string& argument, std::string* erreur)>& positionnel,
                   std::string* erreur = nullptr);

// The table's options taken out of args; every other argument is left in reste as it was, in
// order, for the next reader. False with the message.
bool PreleveOptionsCli(const std::vector<std::string>& args, const std::vector<TOptionCli>& table,
                       std::vector<std::string>& reste, std::string* erreur = nullptr);

// false after putting message in *erreur (when given): the way a reading refuses a value
bool Refuse(std::string* erreur, std::string message);

// a whole number from mini to maxi, written as any number ("12", "1.2e1")
bool LitEntierBorne(const std::string& texte, long long mini, long long maxi, long long& valeur);
// the reading of an option that takes such a number: ecrit takes it, message tells what is wrong
std::function<bool(const std::string&, std::string*)> OptionEntier(long long mini, long long maxi,
                                                                   std::string message,
                                                                   std::function<void(long long)> ecrit);
// the reading of an option whose value is a name that may not be empty: champ takes it
std::function<bool(const std::string&, std::string*)> OptionNonVide(std::string& champ, std::string message);
// the reading of a flag: champ becomes true
std::function<bool(const std::string&, std::string*)> OptionDrapeau(bool& champ);
// the reading of the one argument that is no option: champ takes it, a second one is refused
// ("un seul QUOI attendu, ... est de trop")
std::function<bool(const std::string&, std::string*)> PositionnelUnique(std::string& champ, std::string quoi);
// the reading of an option whose value is taken as it is, empty included
std::function<bool(const std::string&, std::string*)> OptionTexte(std::string& champ);

#include "moteurs/mpi/TransportMpi.h"

#include <mpi.h>

#include <climits>
#include <cstdlib>
#include <stdexcept>

struct TTransportMpi::TEnvoi {
    std::string octets;
    MPI_Request requete = MPI_REQUEST_NULL;
};

TTransportMpi::TTransportMpi() {
    int deja = 0;
    MPI_Initialized(&deja);
    if (deja) throw std::runtime_error("MPI déjà démarré dans ce processus");
    int fourni = 0;
    if (MPI_Init_thread(nullptr, nullptr, MPI_THREAD_FUNNELED, &fourni) != MPI_SUCCESS)
        throw std::runtime_error("MPI n'a pas pu démarrer");
    if (fourni < MPI_THREAD_FUNNELED) {
        MPI_Finalize();
        throw std::runtime_error("la bibliothèque MPI ne permet pas les fils de calcul");
    }
    MPI_Comm_rank(MPI_COMM_WORLD, &rang_);
    MPI_Comm_size(MPI_COMM_WORLD, &nbRangs_);
}

TTransportMpi::~TTransportMpi() {
    Vide();
    MPI_Finalize();
}

void TTransportMpi::Envoie(int destination, int etiquette, std::string octets) {
    // the distributor's messages are a task or a result: far below 2 GB
    if (octets.size() > static_cast<size_t>(INT_MAX)) throw std::length_error("message MPI trop long");
    auto envoi = std::make_unique<TEnvoi>();
    envoi->octets = std::move(octets);
    MPI_Isend(envoi->octets.data(), static_cast<int>(envoi->octets.size()), MPI_BYTE, destination, etiquette,
              MPI_COMM_WORLD, &envoi->requete);
    envois_.push_back(std::move(envoi));
}

bool TTransportMpi::Recoit(int& source, int& etiquette, std::string& octets) {
    int arrive = 0;
    MPI_Status etat;
    MPI_Iprobe(MPI_ANY_SOURCE, MPI_ANY_TAG, MPI_COMM_WORLD, &arrive, &etat);
    if (!arrive) return false;
    int taille = 0;
    MPI_Get_count(&etat, MPI_BYTE, &taille);
    octets.resize(static_cast<size_t>(taille));
    source = etat.MPI_SOURCE;
    etiquette = etat.MPI_TAG;
    MPI_Recv(octets.data(), taille, MPI_BYTE, source, etiquette, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
    return true;
}

void TTransportMpi::Avance() {
    for (auto it = envois_.begin(); it != envois_.end();) {
        int fini = 0;
        MPI_Test(&(*it)->requete, &fini, MPI_STATUS_IGNORE);
        it = fini ? envois_.erase(it) : std::next(it);
    }
}

void TTransportMpi::Vide() {
    // each request was started by Envoie's MPI_Isend: the analyser cannot follow it across calls
    // NOLINTNEXTLINE(clang-analyzer-optin.mpi.MPI-Checker)
    for (auto& envoi : envois_) MPI_Wait(&envoi->requete, MPI_STATUS_IGNORE);
    envois_.clear();
}

void TTransportMpi::Abandonne(int statut) {
    MPI_Abort(MPI_COMM_WORLD, statut);
    // MPI_Abort does not come back; should a library do so, this process ends all the same
    std::_Exit(statut);
}

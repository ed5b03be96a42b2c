// The few MPI calls the task distributor makes, behind a class so that the distributor compiles
// without MPI. Only the thread that created it calls it (MPI_THREAD_FUNNELED).
#pragma once

#include <list>
#include <memory>
#include <string>

class TTransportMpi {
public:
    // MPI_Init_thread; throws std::runtime_error with a readable message when MPI cannot start
    TTransportMpi();
    // waits for the sends still out, then MPI_Finalize
    ~TTransportMpi();
    TTransportMpi(const TTransportMpi&) = delete;
    TTransportMpi& operator=(const TTransportMpi&) = delete;

    int Rang() const { return rang_; }
    int NbRangs() const { return nbRangs_; }

    // sends without waiting; the bytes are kept until the send completes
    void Envoie(int destination, int etiquette, std::string octets);
    // a message already arrived, if any (never waits)
    bool Recoit(int& source, int& etiquette, std::string& octets);
    // lets the sends still out complete
    void Avance();
    // waits for every send still out
    void Vide();
    // ends every rank of the job at once (MPI_Abort), with this status
    [[noreturn]] void Abandonne(int statut);

private:
    struct TEnvoi;
    int rang_ = 0;
    int nbRangs_ = 1;
    std::list<std::unique_ptr<TEnvoi>> envois_;
};

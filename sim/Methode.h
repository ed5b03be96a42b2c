// A method bound to its object (a closure without allocation): the shape of the physics'
// events, collision routines and validation hooks.
#pragma once

template <class... Args>
class TMethode {
public:
    TMethode() = default;

    // binds member M of object o
    template <auto M, class C>
    static TMethode Lie(C* o) {
        TMethode m;
        m.objet_ = o;
        m.appel_ = [](void* p, Args... a) { (static_cast<C*>(p)->*M)(a...); };
        m.membre_ = reinterpret_cast<const void*>(&Identite<M>);
        return m;
    }

    // binds const member M of object o (called back through a const pointer only)
    template <auto M, class C>
    static TMethode Lie(const C* o) {
        TMethode m;
        m.objet_ = const_cast<C*>(o);
        m.appel_ = [](void* p, Args... a) { (static_cast<const C*>(p)->*M)(a...); };
        m.membre_ = reinterpret_cast<const void*>(&Identite<M>);
        return m;
    }

    explicit operator bool() const { return appel_ != nullptr; }
    void operator()(Args... a) const { appel_(objet_, a...); }

    // same object and same member
    friend bool operator==(const TMethode& a, const TMethode& b) {
        return a.objet_ == b.objet_ && a.membre_ == b.membre_;
    }

private:
    template <auto M>
    static void Identite() {}

    void* objet_ = nullptr;
    void (*appel_)(void*, Args...) = nullptr;
    const void* membre_ = nullptr;
};

// notification event: fired with its sender
using TNotifyEvent = TMethode<void*>;

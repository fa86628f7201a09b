#pragma once

namespace brivanto::platform {

// One place through which the program reaches a platform service. The program uses the real
// implementation; a test installs a scripted double for as long as a ScopedSeam lives.
template <class Service> class Seam
{
public:
    static Service& current() { return replacement() ? *replacement() : Service::real(); }
    static void replace(Service* service) { replacement() = service; }

private:
    static Service*& replacement()
    {
        static Service* service = nullptr;
        return service;
    }
};

template <class Service> class ScopedSeam
{
public:
    explicit ScopedSeam(Service& service) : previous_(&Seam<Service>::current())
    {
        Seam<Service>::replace(&service);
    }
    ~ScopedSeam() { Seam<Service>::replace(previous_ == &Service::real() ? nullptr : previous_); }
    ScopedSeam(const ScopedSeam&) = delete;
    ScopedSeam& operator=(const ScopedSeam&) = delete;

private:
    Service* previous_;
};

} // namespace brivanto::platform

#include "network/discovery/avahi_publisher.h"

#include <avahi-client/client.h>
#include <avahi-client/publish.h>
#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>
#include <avahi-common/thread-watch.h>

namespace vantrel::network {

namespace {

class AvahiServicePublication : public AvahiPublication {
public:
    AvahiServicePublication(std::string type, unsigned short port, std::string name)
        : type_(std::move(type)), port_(port), name_(std::move(name)) {}

    bool start() {
        poll_ = avahi_threaded_poll_new();
        if (!poll_) return false;
        int error = 0;
        // Created before the poll thread runs, so the callbacks below never
        // race with this constructor.
        client_ = avahi_client_new(avahi_threaded_poll_get(poll_), static_cast<AvahiClientFlags>(0), onClientEvent,
                                   this, &error);
        if (!client_) return false;
        return avahi_threaded_poll_start(poll_) == 0;
    }

    ~AvahiServicePublication() override {
        if (poll_) avahi_threaded_poll_stop(poll_);
        if (client_) avahi_client_free(client_);  // also withdraws the entry group
        if (poll_) avahi_threaded_poll_free(poll_);
    }

private:
    static void onClientEvent(AvahiClient* client, AvahiClientState state, void* user) {
        auto* self = static_cast<AvahiServicePublication*>(user);
        self->client_ = client;
        if (state == AVAHI_CLIENT_S_RUNNING) self->registerService();
        else if ((state == AVAHI_CLIENT_S_COLLISION || state == AVAHI_CLIENT_S_REGISTERING) && self->group_)
            avahi_entry_group_reset(self->group_);
    }

    static void onGroupEvent(AvahiEntryGroup*, AvahiEntryGroupState state, void* user) {
        auto* self = static_cast<AvahiServicePublication*>(user);
        if (state != AVAHI_ENTRY_GROUP_COLLISION) return;
        char* other = avahi_alternative_service_name(self->name_.c_str());
        self->name_ = other;
        avahi_free(other);
        self->registerService();
    }

    void registerService() {
        if (name_.empty()) name_ = avahi_client_get_host_name(client_);
        if (!group_) group_ = avahi_entry_group_new(client_, onGroupEvent, this);
        if (!group_) return;
        avahi_entry_group_reset(group_);
        if (avahi_entry_group_add_service(group_, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, static_cast<AvahiPublishFlags>(0),
                                          name_.c_str(), type_.c_str(), nullptr, nullptr, port_, nullptr) == 0)
            avahi_entry_group_commit(group_);
    }

    std::string type_;
    unsigned short port_;
    std::string name_;
    AvahiThreadedPoll* poll_ = nullptr;
    AvahiClient* client_ = nullptr;
    AvahiEntryGroup* group_ = nullptr;
};

}  // namespace

std::unique_ptr<AvahiPublication> publishAvahiService(const std::string& type, unsigned short port,
                                                      const std::string& name) {
    auto publication = std::make_unique<AvahiServicePublication>(type, port, name);
    if (!publication->start()) return nullptr;
    return publication;
}

}  // namespace vantrel::network

#include "network/discovery/dns_message.h"

#include <cstdio>

namespace vantrel::network {

namespace {

constexpr int kMaxPointerJumps = 32;
constexpr std::size_t kMaxNameLength = 255;

void put16(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value & 0xFF);
}

bool putName(std::string& out, const std::string& name) {
    if (name.size() > kMaxNameLength) return false;
    std::size_t start = 0;
    while (start < name.size()) {
        std::size_t dot = name.find('.', start);
        if (dot == std::string::npos) dot = name.size();
        const std::size_t length = dot - start;
        if (length == 0 || length > 63) return false;
        out += static_cast<char>(length);
        out.append(name, start, length);
        start = dot + 1;
    }
    out += '\0';
    return true;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

class Reader {
public:
    explicit Reader(const std::string& message) : data_(message) {}

    bool ok() const { return ok_; }
    std::size_t offset() const { return offset_; }

    std::uint16_t read16() {
        if (!ok_ || 2 > data_.size() - offset_) return fail();
        const auto value = static_cast<std::uint16_t>((static_cast<unsigned char>(data_[offset_]) << 8) |
                                                      static_cast<unsigned char>(data_[offset_ + 1]));
        offset_ += 2;
        return value;
    }

    void skip(std::size_t bytes) {
        if (!ok_ || bytes > data_.size() - offset_) fail();
        else offset_ += bytes;
    }

    // A possibly compressed name starting at the cursor; the cursor moves past
    // its first appearance.
    std::string readName() {
        std::string name;
        std::size_t at = offset_;
        bool jumped = false;
        for (int jumps = 0; ok_;) {
            if (at >= data_.size()) return fail(), std::string();
            const auto length = static_cast<unsigned char>(data_[at]);
            if ((length & 0xC0) == 0xC0) {
                if (1 > data_.size() - at - 1 || ++jumps > kMaxPointerJumps) return fail(), std::string();
                const std::size_t target = ((length & 0x3F) << 8) | static_cast<unsigned char>(data_[at + 1]);
                if (!jumped) offset_ = at + 2;
                jumped = true;
                at = target;
                continue;
            }
            if (length & 0xC0) return fail(), std::string();
            if (length == 0) {
                if (!jumped) offset_ = at + 1;
                return name;
            }
            if (length > data_.size() - at - 1) return fail(), std::string();
            if (!name.empty()) name += '.';
            for (std::size_t i = 0; i < length; ++i) name += lower(data_[at + 1 + i]);
            if (name.size() > kMaxNameLength) return fail(), std::string();
            at += 1 + length;
        }
        return {};
    }

    const std::string& data() const { return data_; }

private:
    std::uint16_t fail() {
        ok_ = false;
        return 0;
    }

    const std::string& data_;
    std::size_t offset_ = 0;
    bool ok_ = true;
};

}  // namespace

std::string buildDnsQuery(const std::vector<DnsQuestion>& questions) {
    std::string out;
    put16(out, 0);  // id
    put16(out, 0);  // flags: a standard query
    put16(out, static_cast<std::uint16_t>(questions.size()));
    put16(out, 0);
    put16(out, 0);
    put16(out, 0);
    for (const auto& q : questions) {
        if (!putName(out, q.name)) return {};
        put16(out, q.type);
        put16(out, 1);  // class IN
    }
    return out;
}

std::vector<DnsRecord> parseDnsResponse(const std::string& message) {
    std::vector<DnsRecord> records;
    if (message.size() > kMaxDnsMessage) return records;
    Reader in(message);
    in.read16();  // id
    const std::uint16_t flags = in.read16();
    const std::uint16_t questions = in.read16();
    const unsigned answers = in.read16() + in.read16() + in.read16();
    if (!in.ok() || !(flags & 0x8000)) return records;
    for (unsigned i = 0; i < questions && in.ok(); ++i) {
        in.readName();
        in.skip(4);
    }
    for (unsigned i = 0; i < answers && in.ok(); ++i) {
        DnsRecord record;
        record.name = in.readName();
        record.type = in.read16();
        in.read16();  // class (with the cache-flush bit)
        in.skip(4);   // ttl
        const std::uint16_t length = in.read16();
        if (!in.ok() || length > message.size() - in.offset()) break;
        const std::size_t end = in.offset() + length;
        if (record.type == kDnsTypePtr) {
            record.target = in.readName();
        } else if (record.type == kDnsTypeSrv && length >= 7) {
            in.read16();  // priority
            in.read16();  // weight
            record.port = in.read16();
            record.target = in.readName();
        } else if (record.type == kDnsTypeA && length == 4) {
            const auto* b = reinterpret_cast<const unsigned char*>(message.data() + in.offset());
            char text[16];
            std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
            record.ipv4 = text;
        }
        if (!in.ok() || in.offset() > end) break;
        in.skip(end - in.offset());
        if (((record.type == kDnsTypePtr || record.type == kDnsTypeSrv) && !record.target.empty()) || !record.ipv4.empty())
            records.push_back(std::move(record));
    }
    return records;
}

}  // namespace vantrel::network

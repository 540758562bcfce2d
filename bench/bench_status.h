#pragma once
// A transfer status that shows nothing and is never cancelled, for the transfer benchmarks.

#include "transfer/core/transfer_worker.h"

#include <string>

class BenchNoStatus : public plotwell::transfer::TransferStatus {
public:
    void showStatus(const std::string&, bool) override {}
    bool cancelled() const override { return false; }
};

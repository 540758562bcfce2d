// A replacement GPIB driver library for tests. It exports the ten names the program
// resolves (seven calls and three status words as real data symbols) and hands every
// call to the simulated instrument registered with the hub. Build variants leave out
// one name (STUB_OMIT_<name>) or use the Linux GPIB names of the status words
// (STUB_PLAIN_WORDS).

#include "sim/hub.h"

#include "transfer/core/instrument_abi.h"

#ifdef STUB_PLAIN_WORDS
#define STA_NAME ibsta
#define ERR_NAME iberr
#define CNT_NAME ibcnt
#define OMIT_STA 0
#define OMIT_ERR 0
#define OMIT_CNT 0
#else
#define STA_NAME user_ibsta
#define ERR_NAME user_iberr
#define CNT_NAME user_ibcnt
#if defined(STUB_OMIT_user_ibsta)
#define OMIT_STA 1
#else
#define OMIT_STA 0
#endif
#if defined(STUB_OMIT_user_iberr)
#define OMIT_ERR 1
#else
#define OMIT_ERR 0
#endif
#if defined(STUB_OMIT_user_ibcnt)
#define OMIT_CNT 1
#else
#define OMIT_CNT 0
#endif
#endif

#define EXPORT extern "C" __attribute__((visibility("default")))

#if !OMIT_STA
EXPORT int STA_NAME;
int STA_NAME = 0;
#endif
#if !OMIT_ERR
EXPORT int ERR_NAME;
int ERR_NAME = 0;
#endif
#if !OMIT_CNT
EXPORT int CNT_NAME;
int CNT_NAME = 0;
#endif

namespace {

using plotwell::sim::GpibCall;

// No instrument registered: every call fails as a bus with no listener would.
GpibCall noBus() {
    return {-1, plotwell::transfer::kGpibErr, 2, 0};
}

int publish(const GpibCall& c) {
#if !OMIT_STA
    STA_NAME = c.ibsta;
#endif
#if !OMIT_ERR
    // Like the NI driver, the error word changes only when a call fails, so a report made
    // after a later successful call still names the failure.
    if (c.ibsta & plotwell::transfer::kGpibErr)
        ERR_NAME = c.iberr;
#endif
#if !OMIT_CNT
    CNT_NAME = c.ibcnt;
#endif
    return c.result;
}

__attribute__((constructor)) void loadedHere() {
    pwsim_stub_event(plotwell::sim::kGpibStub, +1);
}
__attribute__((destructor)) void unloadedHere() {
    pwsim_stub_event(plotwell::sim::kGpibStub, -1);
}

} // namespace

#define FORWARD(call)                                                                                        \
    auto* b = pwsim_gpib();                                                                                  \
    return publish(b ? b->call : noBus())

#ifndef STUB_OMIT_ibdev
EXPORT int ibdev(int board, int pad, int sad, int tmo, int eot, int eos) {
    FORWARD(ibdev(board, pad, sad, tmo, eot, eos));
}
#endif
#ifndef STUB_OMIT_ibwrt
EXPORT int ibwrt(int ud, const void* buffer, long count) {
    FORWARD(ibwrt(ud, buffer, count));
}
#endif
#ifndef STUB_OMIT_ibrd
EXPORT int ibrd(int ud, void* buffer, long count) {
    FORWARD(ibrd(ud, buffer, count));
}
#endif
#ifndef STUB_OMIT_ibonl
EXPORT int ibonl(int ud, int v) {
    FORWARD(ibonl(ud, v));
}
#endif
#ifndef STUB_OMIT_ibclr
EXPORT int ibclr(int ud) {
    FORWARD(ibclr(ud));
}
#endif
#ifndef STUB_OMIT_ibtmo
EXPORT int ibtmo(int ud, int tmo) {
    FORWARD(ibtmo(ud, tmo));
}
#endif
#ifndef STUB_OMIT_ibloc
EXPORT int ibloc(int ud) {
    FORWARD(ibloc(ud));
}
#endif

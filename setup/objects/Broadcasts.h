// Typed sending and receiving of the information codes that carry a parameter object.
// The codes stay the integers that objects and dialog managers exchange; these helpers
// only tie each code to the class of its parameter, so that no receiver decodes an
// untyped payload by hand:
//
//   Broadcast<icFileStatus>(*this, status);                       // sender
//   if (auto* status = Payload<icFileStatus>(Code, PO)) Show(*status);  // receiver
#pragma once

#include "InstallContainer.h"
#include "InstallTypes.h"
#include "StatusParameters.h"

namespace setup {

template <int Code>
struct TInformationParameter;  // only the codes below carry a parameter object

template <>
struct TInformationParameter<icFileStatus> {
  using Type = TFileStatusParameter;
};
template <>
struct TInformationParameter<icDownloadStatus> {
  using Type = TDownloadStatusParameter;
};
template <>
struct TInformationParameter<icShowStatus> {
  using Type = TMessageParameter;
};
template <>
struct TInformationParameter<irDownloadStatus> {
  using Type = TDownloadStatusParameter;
};

template <>
struct TInformationParameter<icNewDisk> {
  using Type = TInformationList;
};
template <>
struct TInformationParameter<irInstallProgress> {
  using Type = TInformationList;
};
template <>
struct TInformationParameter<irCompressProgress> {
  using Type = TInformationList;
};
template <>
struct TInformationParameter<irCopyProgress> {
  using Type = TInformationList;
};
template <>
struct TInformationParameter<irDiskRequest> {
  using Type = TInformationList;
};

template <int Code>
using TInformationParameterOf = typename TInformationParameter<Code>::Type;

// Broadcasts Code with its parameter from Sender to Sender's listening helpers.
template <int Code>
void Broadcast(TInstallContainer& Sender, TInformationParameterOf<Code>& Parameter) {
  Sender.BroadcastInformation(&Sender, Code, &Parameter);
}

// Reports Code with its parameter up the container chain.
template <int Code>
void Report(TInstallObject& Sender, TInformationParameterOf<Code>& Parameter) {
  Sender.ReportInformation(Code, &Parameter);
}

// The parameter when the message received is Code and carries the parameter of that
// code; nil otherwise (another code, no parameter, or a parameter of another class).
template <int Code>
TInformationParameterOf<Code>* Payload(int ReceivedCode, fw::TObject* PO) {
  return ReceivedCode == Code ? dynamic_cast<TInformationParameterOf<Code>*>(PO) : nullptr;
}

}  // namespace setup

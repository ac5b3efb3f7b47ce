// The temporary PRC file that the document scan and the PRC builder share: "QNFTemp.prc" in the
// folder named by the environment variable "temp".
#ifndef VANTRELL_EXTRACTION_TEMPORARYPRCPATH_H
#define VANTRELL_EXTRACTION_TEMPORARYPRCPATH_H

#include "mfc/CStringT.h"

// "%s\QNFTemp.prc" filled with the value of "temp", as it comes. Without that variable (or with
// an empty one), the platform's folder for temporary files stands in, rather than the root of
// the current drive.
CStringT<char> MakeTemporaryPrcPath();

#endif

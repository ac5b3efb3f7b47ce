// What the call log says of the entities and records that a call is handed, so that a test can
// read back every field its caller filled (the format is in StandInControl.h).
#ifndef VANTRELL_A3DLIB_RECORDLOG_H
#define VANTRELL_A3DLIB_RECORDLOG_H

#include <string>

#include "a3dlib/StandInRecords.h"
#include "extraction/A3DRecords.h"

namespace a3d {

// An entity as <type>:"<name>", `null`, or `unknown` for an address the library did not hand out.
std::string DescribeEntity(const void* handle);

// The record's items, space-separated: structSize, then (when structSize is the record's size)
// every named field in the record's order and `unnamed`. A null record is `record=null`. Arrays
// are read as far as the record's counts say, as the call itself reads them.
std::string DescribeRecord(const Tess3DRecord* record);
std::string DescribeRecord(const TessBaseRecord* record);
std::string DescribeRecord(const PolyBrepModelRecord* record);
std::string DescribeRecord(const RepresentationItemRecord* record);
std::string DescribeRecord(const PartDefinitionRecord* record);
std::string DescribeRecord(const ProductOccurrenceRecord* record);
std::string DescribeRecord(const ModelFileRecord* record);
std::string DescribeRecord(const RootBaseRecord* record);
std::string DescribeRecord(const ModelFileWriteParameters* record);
std::string DescribeRecord(const Tess3DWireRecord* record);
std::string DescribeRecord(const TessMarkupRecord* record);
std::string DescribeRecord(const BrepModelRecord* record);

}  // namespace a3d

#endif

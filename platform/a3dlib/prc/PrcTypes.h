// Type codes, flags and versions of the PRC format as the codec meets them.
#ifndef VANTRELL_A3DLIB_PRC_PRCTYPES_H
#define VANTRELL_A3DLIB_PRC_PRCTYPES_H

#include <stdint.h>

namespace a3d {
namespace prc {

// The version the writer claims, and the newest one the reader accepts as its minimum.
constexpr uint32_t kAuthoringVersion = 8137;
constexpr uint32_t kMinimalVersionForRead = 8137;

// Conditional fields appear from these authoring versions on.
constexpr uint32_t kVersionTessHasLoops = 7039;
constexpr uint32_t kVersionTessRecalculateNormals = 7047;
constexpr uint32_t kVersionDirectionalLightIntensity = 8030;
constexpr uint32_t kVersionViewExtensions = 8137;

enum TypeCode : uint32_t {
  kPrcTess = 171,  // a tessellation of a kind the reader could not read
  kPrcTess3D = 172,
  kPrcTess3DCompressed = 173,
  kPrcTessFace = 174,
  kPrcTess3DWire = 175,
  kPrcTessMarkup = 176,

  kPrcAttribute = 201,
  kPrcCartesianTransformation = 202,
  kPrcEntityReference = 203,
  kPrcMarkupLinkedItem = 204,
  kPrcReferenceOnPrcBase = 205,
  kPrcReferenceOnTopology = 206,
  kPrcGeneralTransformation = 207,

  kPrcBrepModel = 232,
  kPrcCurve = 233,
  kPrcDirection = 234,
  kPrcPlane = 235,
  kPrcPointSet = 236,
  kPrcPolyBrepModel = 237,
  kPrcPolyWire = 238,
  kPrcSet = 239,
  kPrcCoordinateSystem = 240,

  kPrcModelFile = 301,
  kPrcFileStructure = 302,
  kPrcGlobals = 303,
  kPrcTree = 304,
  kPrcTessellationSection = 305,
  kPrcGeometrySection = 306,
  kPrcExtraGeometrySection = 307,
  kPrcProductOccurrence = 310,
  kPrcPartDefinition = 311,
  kPrcFilter = 320,

  kPrcView = 501,
  kPrcMarkup = 502,
  kPrcLeader = 503,
  kPrcAnnotationItem = 504,
  kPrcAnnotationSet = 505,
  kPrcAnnotationReference = 506,

  kPrcStyle = 701,
  kPrcMaterial = 702,
  kPrcPicture = 703,
  kPrcTextureApplication = 711,
  kPrcTextureDefinition = 712,
  kPrcTextureTransformation = 713,
  kPrcLinePattern = 721,
  kPrcFillPattern = 722,
  kPrcDottingPattern = 723,
  kPrcHatchingPattern = 724,
  kPrcSolidPattern = 725,
  kPrcVPicturePattern = 726,
  kPrcAmbientLight = 731,
  kPrcPointLight = 732,
  kPrcDirectionalLight = 733,
  kPrcSpotLight = 734,
  kPrcSceneDisplayParameters = 741,
  kPrcCamera = 742,
};

// Transformation behaviour bits: which parts of a transformation follow.
enum TransformationBits : uint32_t {
  kTransformTranslate = 0x01,
  kTransformRotate = 0x02,
  kTransformMirror = 0x04,
  kTransformScale = 0x08,
  kTransformNonUniformScale = 0x10,
  kTransformNonOrtho = 0x20,
  kTransformHomogeneous = 0x40,
};

}  // namespace prc
}  // namespace a3d

#endif

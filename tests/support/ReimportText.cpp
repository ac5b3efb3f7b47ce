// The writer's files read back where there is no assimp (the Windows build): a plain reader of
// what COLLADA and OBJ files of triangle meshes say, which checks the counts the files declare.
#include <stdlib.h>

#include <map>
#include <sstream>

#include "Reimport.h"
#include "TestSupport.h"

namespace testing_support {

namespace {

// An element's text, its opening tag's attributes and where it ends in the document.
struct Element {
  std::string attributes;
  std::string text;
  size_t end = std::string::npos;
};

// The next element named tag at or after from; end is npos when there is none.
Element FindElement(const std::string& xml, const std::string& tag, size_t from, size_t limit = std::string::npos) {
  Element element;
  size_t open = xml.find("<" + tag, from);
  while (open != std::string::npos && open < limit) {
    char next = xml[open + 1 + tag.size()];
    if (next == ' ' || next == '>' || next == '/') break;
    open = xml.find("<" + tag, open + 1);
  }
  if (open == std::string::npos || open >= limit) return element;
  size_t close = xml.find('>', open);
  if (close == std::string::npos) return element;
  element.attributes = xml.substr(open + 1 + tag.size(), close - open - 1 - tag.size());
  if (xml[close - 1] == '/') {
    element.end = close + 1;
    return element;
  }
  size_t closing = xml.find("</" + tag + ">", close);
  if (closing == std::string::npos) return element;
  element.text = xml.substr(close + 1, closing - close - 1);
  element.end = closing + tag.size() + 3;
  return element;
}

std::string Attribute(const std::string& attributes, const std::string& name) {
  size_t at = attributes.find(" " + name + "=\"");
  if (at == std::string::npos) return std::string();
  size_t start = at + name.size() + 3;
  size_t end = attributes.find('"', start);
  return end == std::string::npos ? std::string() : attributes.substr(start, end - start);
}

template <typename Number>
std::vector<Number> Numbers(const std::string& text) {
  std::istringstream in(text);
  std::vector<Number> numbers;
  Number n;
  while (in >> n) numbers.push_back(n);
  return numbers;
}

bool Fail(std::string* error, const std::string& message) {
  if (error) *error = message;
  return false;
}

bool ReadCollada(const std::string& xml, std::vector<TriangleMesh>* meshes, std::string* error) {
  std::map<std::string, TriangleMesh> geometries;
  for (Element geometry = FindElement(xml, "geometry", 0); geometry.end != std::string::npos;
       geometry = FindElement(xml, "geometry", geometry.end)) {
    const std::string id = Attribute(geometry.attributes, "id");
    Element positions = FindElement(geometry.text, "float_array", 0);
    std::vector<float> coordinates = Numbers<float>(positions.text);
    if (positions.end == std::string::npos || coordinates.size() % 3 != 0 ||
        std::to_string(coordinates.size()) != Attribute(positions.attributes, "count"))
      return Fail(error, "geometry " + id + ": the positions do not match their count");
    TriangleMesh& triangles = geometries[id];
    Element list = FindElement(geometry.text, "triangles", 0);
    if (list.end == std::string::npos) continue;
    if (FindElement(list.text, "input", FindElement(list.text, "input", 0).end).end != std::string::npos)
      return Fail(error, "geometry " + id + ": triangles with more than one input");
    std::vector<long> corners = Numbers<long>(FindElement(list.text, "p", 0).text);
    if (corners.size() % 3 != 0 || std::to_string(corners.size() / 3) != Attribute(list.attributes, "count"))
      return Fail(error, "geometry " + id + ": the triangles do not match their count");
    for (size_t t = 0; t < corners.size(); t += 3) {
      Triangle triangle;
      for (size_t k = 0; k < 3; ++k) {
        long v = corners[t + k];
        if (v < 0 || static_cast<size_t>(v) >= coordinates.size() / 3)
          return Fail(error, "geometry " + id + ": a corner past the positions");
        for (size_t c = 0; c < 3; ++c) triangle[3 * k + c] = coordinates[3 * static_cast<size_t>(v) + c];
      }
      triangles.push_back(triangle);
    }
  }
  // The meshes in the order of their nodes; a node holds its geometry before it closes.
  meshes->clear();
  for (size_t at = xml.find("<node "); at != std::string::npos; at = xml.find("<node ", at + 1)) {
    size_t close = xml.find('>', at);
    if (close == std::string::npos) return Fail(error, "a node tag that does not end");
    const std::string name = Attribute(xml.substr(at + 5, close - at - 5), "name");
    if (name.compare(0, 4, "mesh") != 0) continue;
    Element instance = FindElement(xml, "instance_geometry", close, xml.find("</node>", close));
    std::string url = Attribute(instance.attributes, "url");
    auto geometry = geometries.find(url.empty() ? url : url.substr(1));
    if (geometry == geometries.end()) return Fail(error, "node " + name + " has no geometry");
    meshes->push_back(geometry->second);
  }
  return true;
}

bool ReadObj(const std::string& text, std::vector<TriangleMesh>* meshes, std::string* error) {
  meshes->clear();
  std::vector<float> coordinates;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string kind;
    words >> kind;
    if (kind == "o") {
      meshes->emplace_back();
    } else if (kind == "v") {
      float x, y, z;
      if (!(words >> x >> y >> z)) return Fail(error, "a vertex without three coordinates: " + line);
      coordinates.insert(coordinates.end(), {x, y, z});
    } else if (kind == "f") {
      long corners[3];
      if (meshes->empty() || !(words >> corners[0] >> corners[1] >> corners[2]))
        return Fail(error, "a face outside an object or without three corners: " + line);
      Triangle triangle;
      for (size_t k = 0; k < 3; ++k) {
        if (corners[k] < 1 || static_cast<size_t>(corners[k]) > coordinates.size() / 3)
          return Fail(error, "a corner past the vertices: " + line);
        for (size_t c = 0; c < 3; ++c) triangle[3 * k + c] = coordinates[3 * static_cast<size_t>(corners[k] - 1) + c];
      }
      meshes->back().push_back(triangle);
    } else if (!kind.empty() && kind[0] != '#') {
      return Fail(error, "an unknown line: " + line);
    }
  }
  return true;
}

}  // namespace

bool ReimportMeshes(const std::string& path, std::vector<TriangleMesh>* meshes, std::string* error) {
  if (!FileExists(path)) return Fail(error, "no file " + path);
  const std::string text = ReadFile(path);
  if (text.find("<COLLADA") != std::string::npos) return ReadCollada(text, meshes, error);
  return ReadObj(text, meshes, error);
}

}  // namespace testing_support

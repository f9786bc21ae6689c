#include "ugrid/NetcdfFile.h"

#include <netcdf.h>

namespace lakedrift {

NetcdfFile::~NetcdfFile() {
  if (id_ >= 0) nc_close(id_);
}

Status NetcdfFile::Failed(int code, const std::string& what) const {
  return Status::Fail(ErrorKind::ReadFailed, path_ + ": " + what + ": " + nc_strerror(code));
}

Status NetcdfFile::Open(const std::string& path) {
  path_ = path;
  const int code = nc_open(path.c_str(), NC_NOWRITE, &id_);
  if (code == NC_NOERR) return Status::Ok();
  id_ = -1;
  if (code == ENOENT) return Status::Fail(ErrorKind::FileMissing, path + ": not found");
  return Status::Fail(ErrorKind::Malformed, path + ": not a NetCDF file (" + nc_strerror(code) + ")");
}

std::vector<int> NetcdfFile::Variables() const {
  int count = 0;
  nc_inq_nvars(id_, &count);
  std::vector<int> ids(static_cast<std::size_t>(count));
  nc_inq_varids(id_, &count, ids.data());
  return ids;
}

std::optional<int> NetcdfFile::Variable(const std::string& name) const {
  int var = 0;
  if (nc_inq_varid(id_, name.c_str(), &var) != NC_NOERR) return std::nullopt;
  return var;
}

std::string NetcdfFile::Name(int var) const {
  char name[NC_MAX_NAME + 1] = {};
  nc_inq_varname(id_, var, name);
  return name;
}

std::vector<int> NetcdfFile::Dimensions(int var) const {
  int count = 0;
  nc_inq_varndims(id_, var, &count);
  std::vector<int> dims(static_cast<std::size_t>(count));
  nc_inq_vardimid(id_, var, dims.data());
  return dims;
}

std::string NetcdfFile::DimensionName(int dim) const {
  char name[NC_MAX_NAME + 1] = {};
  nc_inq_dimname(id_, dim, name);
  return name;
}

std::size_t NetcdfFile::DimensionLength(int dim) const {
  std::size_t length = 0;
  nc_inq_dimlen(id_, dim, &length);
  return length;
}

std::string NetcdfFile::Text(int var, const std::string& attribute) const {
  nc_type type = NC_NAT;
  std::size_t length = 0;
  if (nc_inq_att(id_, var, attribute.c_str(), &type, &length) != NC_NOERR) return {};
  if (type == NC_CHAR) {
    std::string text(length, '\0');
    nc_get_att_text(id_, var, attribute.c_str(), text.data());
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
  }
  if (type == NC_STRING && length == 1) {
    char* value = nullptr;
    nc_get_att_string(id_, var, attribute.c_str(), &value);
    std::string text = value ? value : "";
    nc_free_string(1, &value);
    return text;
  }
  return {};
}

std::optional<double> NetcdfFile::Number(int var, const std::string& attribute) const {
  nc_type type = NC_NAT;
  std::size_t length = 0;
  if (nc_inq_att(id_, var, attribute.c_str(), &type, &length) != NC_NOERR || length == 0 || type == NC_CHAR ||
      type == NC_STRING)
    return std::nullopt;
  std::vector<double> values(length);
  if (nc_get_att_double(id_, var, attribute.c_str(), values.data()) != NC_NOERR) return std::nullopt;
  return values[0];
}

// Reads the whole of variable `var` with the typed nc_get_var function `get`.
template <typename T, typename Get>
Status NetcdfFile::ReadWhole(int var, std::vector<T>& values, Get get) const {
  std::size_t size = 1;
  for (const int d : Dimensions(var)) size *= DimensionLength(d);
  values.resize(size);
  if (const int code = get(id_, var, values.data()); code != NC_NOERR)
    return Failed(code, "variable " + Name(var));
  return Status::Ok();
}

Status NetcdfFile::ReadDoubles(int var, std::vector<double>& values) const {
  return ReadWhole(var, values, nc_get_var_double);
}

Status NetcdfFile::ReadInts(int var, std::vector<int>& values) const {
  return ReadWhole(var, values, nc_get_var_int);
}

Status NetcdfFile::ReadFloats(int var, const std::vector<std::size_t>& start,
                              const std::vector<std::size_t>& count, std::vector<float>& values) const {
  std::size_t size = 1;
  for (const std::size_t c : count) size *= c;
  values.resize(size);
  if (const int code = nc_get_vara_float(id_, var, start.data(), count.data(), values.data());
      code != NC_NOERR)
    return Failed(code, "variable " + Name(var));
  return Status::Ok();
}

}  // namespace lakedrift

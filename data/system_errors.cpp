#include "data/system_errors.h"

#include <cerrno>
#include <cstring>

namespace kalvoro {

std::string systemErrorText(int error)
{
    switch (error) {
        case ENOENT:
            return "arquivo ou pasta não encontrado";
        case EISDIR:
            return "é uma pasta";
        case ENOTDIR:
            return "parte do caminho não é uma pasta";
        case EACCES:
            return "permissão negada";
        case EPERM:
            return "operação não permitida";
        case EROFS:
            return "sistema de arquivos somente para leitura";
        case ENOSPC:
            return "disco cheio";
        case EDQUOT:
            return "cota de disco excedida";
        case EFBIG:
            return "arquivo grande demais";
        case ENAMETOOLONG:
            return "nome de arquivo longo demais";
        case EEXIST:
            return "o arquivo já existe";
        case EIO:
            return "erro de entrada e saída do dispositivo";
        default:
            return std::strerror(error);
    }
}

}  // namespace kalvoro

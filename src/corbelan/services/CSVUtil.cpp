#include <corbelan/services/CSVUtil.h>

#include <bastwick/StringAdditions.h>

QString CSVUtil::colNameAtIndex(int colIndex)
{
    return Bastwick::colNameAtIndex(colIndex);
}

#include "param_record.h"

ParamRecord param_record{};

namespace {

constexpr int kFirstDayTable = 8;
constexpr int kLastDayTable = 14;

} // namespace

void TableFields::add(const char* name, std::variant<float*, int32_t*, int8_t*> value)
{
    m_fields[m_count++] = FieldRef{name, value};
}

TableFields::TableFields(int table, ParamRecord& r)
{
    auto addInput = [this](SensorInput& in) {
        add("TYPE", &in.TYPE);
        add("_DP_", &in.DP_);
        add("STRS", &in.STRS);
        add("ENDS", &in.ENDS);
    };
    if (table >= kFirstDayTable && table <= kLastDayTable) {
        day_record& d = r.days[table - kFirstDayTable];
        add("shift1", &d.shift1), add("shift2", &d.shift2), add("shift3", &d.shift3), add("shift4", &d.shift4);
        add("hour1", &d.hour1), add("hour2", &d.hour2), add("hour3", &d.hour3), add("hour4", &d.hour4);
        add("minute1", &d.minute1), add("minute2", &d.minute2), add("minute3", &d.minute3), add("minute4", &d.minute4);
        return;
    }
    switch (table) {
    case 0: add("SP_0", &r.SP_0), add("SP20", &r.SP20); break;
    case 1: addInput(r.input1); break;
    case 2: addInput(r.input2); break;
    case 3: add("SPLO", &r.SPLO), add("SPHI", &r.SPHI), add("HYST", &r.HYST); break;
    case 4:
        add("P_LO", &r.P_LO), add("P_HI", &r.P_HI), add("D_LO", &r.D_LO), add("D_HI", &r.D_HI);
        add("REGO", &r.REGO), add("DSER", &r.DSER), add("DEAD", &r.DEAD), add("F2", &r.F2), add("TPID", &r.TPID);
        break;
    case 5: add("RE_1", &r.RE_1), add("RE_2", &r.RE_2), add("RE_3", &r.RE_3), add("RE_4", &r.RE_4), add("YOUT", &r.YOUT); break;
    case 6: add("FILTR", &r.FILTR), add("PASS", &r.PASS), add("LOC_", &r.LOC_), add("reserved", &r.reserved); break;
    case 7: add("regulator_address", &r.regulator_address); break;
    case 15:
        add("seconds", &r.seconds), add("MIN", &r.MIN), add("HOUR", &r.HOUR), add("DAY", &r.DAY);
        add("DATE", &r.DATE), add("MONT", &r.MONT), add("YEAR", &r.YEAR);
        break;
    case 16:
        add("water_temperature", &r.water_temperature), add("outdoor_temperature", &r.outdoor_temperature);
        add("aux_byte1", &r.aux_byte1), add("demanded_temperature", &r.demanded_temperature);
        add("setback", &r.setback), add("aux_byte2", &r.aux_byte2);
        break;
    case 17: add("PB", &r.PB), add("INT", &r.INT), add("DER", &r.DER); break;
    case 19: add("A_IN", &r.A_IN), add("AOUT", &r.AOUT), add("ASTR", &r.ASTR), add("AEND", &r.AEND); break;
    case 20: add("INA1", &r.INA1), add("INA2", &r.INA2); break;
    default: break; // 18 and out-of-range numbers have no layout
    }
}

int wireWidth(const FieldRef& field)
{
    return std::visit([](auto* p) -> int {
        using T = std::remove_pointer_t<decltype(p)>;
        if constexpr (std::is_same_v<T, float>) return 4;
        else if constexpr (std::is_same_v<T, int32_t>) return 2;
        else return 1;
    }, field.value);
}

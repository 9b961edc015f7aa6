#include "badging/locale_data.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace apk {
namespace {

// Likely scripts of languages and of some language-region pairs (CLDR likely subtags).
constexpr const char* kLikelyScripts =
    "aa=Latn aai=Latn aak=Latn aau=Latn ab=Cyrl abi=Latn abr=Latn abt=Latn aby=Latn acd=Latn ace=Latn ach=Latn "
    "ada=Latn ade=Latn adj=Latn ady=Cyrl adz=Latn ae=Avst aeb=Arab aey=Latn af=Latn agc=Latn agd=Latn agg=Latn "
    "agm=Latn ago=Latn agq=Latn aha=Latn ahl=Latn aho=Ahom ajg=Latn ak=Latn akk=Xsux ala=Latn ali=Latn aln=Latn "
    "alt=Cyrl am=Ethi amm=Latn amn=Latn amo=Latn amp=Latn anc=Latn ank=Latn ann=Latn any=Latn aoj=Latn aom=Latn "
    "aoz=Latn apc=Arab apd=Arab ape=Latn apr=Latn aps=Latn apz=Latn ar=Arab ar-XB=~~~B arc=Armi arh=Latn arn=Latn "
    "aro=Latn arq=Arab ary=Arab arz=Arab as=Beng asa=Latn ase=Sgnw asg=Latn aso=Latn ast=Latn ata=Latn atg=Latn "
    "atj=Latn auy=Latn av=Cyrl avl=Arab avn=Latn avt=Latn avu=Latn awa=Deva awb=Latn awo=Latn awx=Latn ay=Latn "
    "ayb=Latn az=Latn az-IQ=Arab az-IR=Arab az-RU=Cyrl ba=Cyrl bal=Arab ban=Latn bap=Deva bar=Latn bas=Latn "
    "bav=Latn bax=Bamu bba=Latn bbb=Latn bbc=Latn bbd=Latn bbj=Latn bbp=Latn bbr=Latn bcf=Latn bch=Latn bci=Latn "
    "bcm=Latn bcn=Latn bco=Latn bcq=Ethi bcu=Latn bdd=Latn be=Cyrl bef=Latn beh=Latn bej=Arab bem=Latn bet=Latn "
    "bew=Latn bex=Latn bez=Latn bfd=Latn bfq=Taml bft=Arab bfy=Deva bg=Cyrl bgc=Deva bgn=Arab bgx=Grek bhb=Deva "
    "bhg=Latn bhi=Deva bhk=Latn bhl=Latn bho=Deva bhy=Latn bi=Latn bib=Latn big=Latn bik=Latn bim=Latn bin=Latn "
    "bio=Latn biq=Latn bjh=Latn bji=Ethi bjj=Deva bjn=Latn bjo=Latn bjr=Latn bjz=Latn bkc=Latn bkm=Latn bkq=Latn "
    "bku=Latn bkv=Latn blt=Tavt bm=Latn bmh=Latn bmk=Latn bmq=Latn bmu=Latn bn=Beng bng=Latn bnm=Latn bnp=Latn "
    "bo=Tibt boj=Latn bom=Latn bon=Latn bpy=Beng bqc=Latn bqi=Arab bqp=Latn bqv=Latn br=Latn bra=Deva brh=Arab "
    "brx=Deva brz=Latn bs=Latn bsj=Latn bsq=Bass bss=Latn bst=Ethi bto=Latn btt=Latn btv=Deva bua=Cyrl buc=Latn "
    "bud=Latn bug=Latn buk=Latn bum=Latn buo=Latn bus=Latn buu=Latn bvb=Latn bwd=Latn bwr=Latn bxh=Latn bye=Latn "
    "byn=Ethi byr=Latn bys=Latn byv=Latn byx=Latn bza=Latn bze=Latn bzf=Latn bzh=Latn bzw=Latn ca=Latn can=Latn "
    "cbj=Latn cch=Latn ccp=Beng ce=Cyrl ceb=Latn cfa=Latn cgg=Latn ch=Latn chk=Latn chm=Cyrl cho=Latn chp=Latn "
    "chr=Cher cja=Arab cjm=Cham cjv=Latn ckb=Arab ckl=Latn cko=Latn cky=Latn cla=Latn cme=Latn co=Latn cop=Copt "
    "cps=Latn cr=Cans crj=Cans crk=Cans crl=Cans crm=Cans crs=Latn cs=Latn csb=Latn csw=Cans ctd=Pauc cu=Cyrl "
    "cv=Cyrl cy=Latn da=Latn dad=Latn daf=Latn dag=Latn dah=Latn dak=Latn dar=Cyrl dav=Latn dbd=Latn dbq=Latn "
    "dcc=Arab ddn=Latn de=Latn ded=Latn den=Latn dga=Latn dgh=Latn dgi=Latn dgl=Arab dgr=Latn dgz=Latn dia=Latn "
    "dje=Latn dnj=Latn dob=Latn doi=Arab dop=Latn dow=Latn dri=Latn drs=Ethi dsb=Latn dtm=Latn dtp=Latn dts=Latn "
    "dty=Deva dua=Latn duc=Latn dud=Latn dug=Latn dv=Thaa dva=Latn dww=Latn dyo=Latn dyu=Latn dz=Tibt dzg=Latn "
    "ebu=Latn ee=Latn efi=Latn egl=Latn egy=Egyp eky=Kali el=Grek ema=Latn emi=Latn en=Latn en-XA=~~~A enn=Latn "
    "enq=Latn eo=Latn eri=Latn es=Latn esu=Latn et=Latn etr=Latn ett=Ital etu=Latn etx=Latn eu=Latn ewo=Latn "
    "ext=Latn fa=Arab faa=Latn fab=Latn fag=Latn fai=Latn fan=Latn ff=Latn ffi=Latn ffm=Latn fi=Latn fia=Arab "
    "fil=Latn fit=Latn fj=Latn flr=Latn fmp=Latn fo=Latn fod=Latn fon=Latn for=Latn fpe=Latn fqs=Latn fr=Latn "
    "frc=Latn frp=Latn frr=Latn frs=Latn fub=Arab fud=Latn fue=Latn fuf=Latn fuh=Latn fuq=Latn fur=Latn fuv=Latn "
    "fuy=Latn fvr=Latn fy=Latn ga=Latn gaa=Latn gaf=Latn gag=Latn gah=Latn gaj=Latn gam=Latn gan=Hans gaw=Latn "
    "gay=Latn gbf=Latn gbm=Deva gby=Latn gbz=Arab gcr=Latn gd=Latn gde=Latn gdn=Latn gdr=Latn geb=Latn gej=Latn "
    "gel=Latn gez=Ethi gfk=Latn ggn=Deva ghs=Latn gil=Latn gim=Latn gjk=Arab gjn=Latn gju=Arab gkn=Latn gkp=Latn "
    "gl=Latn glk=Arab gmm=Latn gmv=Ethi gn=Latn gnd=Latn gng=Latn god=Latn gof=Ethi goi=Latn gom=Deva gon=Telu "
    "gor=Latn gos=Latn got=Goth grc=Cprt grt=Beng grw=Latn gsw=Latn gu=Gujr gub=Latn guc=Latn gud=Latn gur=Latn "
    "guw=Latn gux=Latn guz=Latn gv=Latn gvf=Latn gvr=Deva gvs=Latn gwc=Arab gwi=Latn gwt=Arab gyi=Latn ha=Latn "
    "ha-CM=Arab ha-SD=Arab hag=Latn hak=Hans ham=Latn haw=Latn haz=Arab hbb=Latn hdy=Ethi he=Hebr hhy=Latn hi=Deva "
    "hia=Latn hif=Latn hig=Latn hih=Latn hil=Latn hla=Latn hlu=Hluw hmd=Plrd hmt=Latn hnd=Arab hne=Deva hnj=Hmng "
    "hnn=Latn hno=Arab ho=Latn hoc=Deva hoj=Deva hot=Latn hr=Latn hsb=Latn hsn=Hans ht=Latn hu=Latn hui=Latn "
    "hy=Armn hz=Latn ia=Latn ian=Latn iar=Latn iba=Latn ibb=Latn iby=Latn ica=Latn ich=Latn id=Latn idd=Latn "
    "idi=Latn idu=Latn ig=Latn igb=Latn ige=Latn ii=Yiii ijj=Latn ik=Latn ikk=Latn ikt=Latn ikw=Latn ikx=Latn "
    "ilo=Latn imo=Latn in=Latn inh=Cyrl iou=Latn iri=Latn is=Latn it=Latn iu=Cans iw=Hebr iwm=Latn iws=Latn "
    "izh=Latn izi=Latn ja=Jpan jab=Latn jam=Latn jbu=Latn jen=Latn jgk=Latn jgo=Latn ji=Hebr jib=Latn jmc=Latn "
    "jml=Deva jra=Latn jut=Latn jv=Latn jw=Latn ka=Geor kaa=Cyrl kab=Latn kac=Latn kad=Latn kai=Latn kaj=Latn "
    "kam=Latn kao=Latn kbd=Cyrl kbm=Latn kbp=Latn kbq=Latn kbx=Latn kby=Arab kcg=Latn kck=Latn kcl=Latn kct=Latn "
    "kde=Latn kdh=Arab kdl=Latn kdt=Thai kea=Latn ken=Latn kez=Latn kfo=Latn kfr=Deva kfy=Deva kg=Latn kge=Latn "
    "kgf=Latn kgp=Latn kha=Latn khb=Talu khn=Deva khq=Latn khs=Latn kht=Mymr khw=Arab khz=Latn ki=Latn kij=Latn "
    "kiu=Latn kiw=Latn kj=Latn kjd=Latn kjg=Laoo kjs=Latn kjy=Latn kk=Cyrl kk-AF=Arab kk-CN=Arab kk-IR=Arab "
    "kk-MN=Arab kkc=Latn kkj=Latn kl=Latn kln=Latn klq=Latn klt=Latn klx=Latn km=Khmr kmb=Latn kmh=Latn kmo=Latn "
    "kms=Latn kmu=Latn kmw=Latn kn=Knda knp=Latn ko=Kore koi=Cyrl kok=Deva kol=Latn kos=Latn koz=Latn kpe=Latn "
    "kpf=Latn kpo=Latn kpr=Latn kpx=Latn kqb=Latn kqf=Latn kqs=Latn kqy=Ethi krc=Cyrl kri=Latn krj=Latn krl=Latn "
    "krs=Latn kru=Deva ks=Arab ksb=Latn ksd=Latn ksf=Latn ksh=Latn ksj=Latn ksr=Latn ktb=Ethi ktm=Latn kto=Latn "
    "ku=Latn ku-IR=Arab ku-LB=Arab kub=Latn kud=Latn kue=Latn kuj=Latn kum=Cyrl kun=Latn kup=Latn kus=Latn kv=Cyrl "
    "kvg=Latn kvr=Latn kvx=Arab kw=Latn kwj=Latn kwo=Latn kxa=Latn kxc=Ethi kxm=Thai kxp=Arab kxw=Latn kxz=Latn "
    "ky=Cyrl ky-CN=Arab ky-TR=Latn kye=Latn kyx=Latn kzr=Latn la=Latn lab=Lina lad=Hebr lag=Latn lah=Arab laj=Latn "
    "las=Latn lb=Latn lbe=Cyrl lbu=Latn lbw=Latn lcm=Latn lcp=Thai ldb=Latn led=Latn lee=Latn lem=Latn lep=Lepc "
    "leq=Latn leu=Latn lez=Cyrl lg=Latn lgg=Latn li=Latn lia=Latn lid=Latn lif=Deva lig=Latn lih=Latn lij=Latn "
    "lis=Lisu ljp=Latn lki=Arab lkt=Latn lle=Latn lln=Latn lmn=Telu lmo=Latn lmp=Latn ln=Latn lns=Latn lnu=Latn "
    "lo=Laoo loj=Latn lok=Latn lol=Latn lor=Latn los=Latn loz=Latn lrc=Arab lt=Latn ltg=Latn lu=Latn lua=Latn "
    "luo=Latn luy=Latn luz=Arab lv=Latn lwl=Thai lzh=Hans lzz=Latn mad=Latn maf=Latn mag=Deva mai=Deva mak=Latn "
    "man=Latn man-GN=Nkoo mas=Latn maw=Latn maz=Latn mbh=Latn mbo=Latn mbq=Latn mbu=Latn mbw=Latn mci=Latn "
    "mcp=Latn mcq=Latn mcr=Latn mcu=Latn mda=Latn mde=Arab mdf=Cyrl mdh=Latn mdj=Latn mdr=Latn mdx=Ethi med=Latn "
    "mee=Latn mek=Latn men=Latn mer=Latn met=Latn meu=Latn mfa=Arab mfe=Latn mfn=Latn mfo=Latn mfq=Latn mg=Latn "
    "mgh=Latn mgl=Latn mgo=Latn mgp=Deva mgy=Latn mh=Latn mhi=Latn mhl=Latn mi=Latn mif=Latn min=Latn mis=Hatr "
    "miw=Latn mk=Cyrl mki=Arab mkl=Latn mkp=Latn mkw=Latn ml=Mlym mle=Latn mlp=Latn mls=Latn mmo=Latn mmu=Latn "
    "mmx=Latn mn=Cyrl mn-CN=Mong mna=Latn mnf=Latn mni=Beng mnw=Mymr moa=Latn moe=Latn moh=Latn mos=Latn mox=Latn "
    "mpp=Latn mps=Latn mpt=Latn mpx=Latn mql=Latn mr=Deva mrd=Deva mrj=Cyrl mro=Mroo ms=Latn ms-CC=Arab ms-ID=Arab "
    "mt=Latn mtc=Latn mtf=Latn mti=Latn mtr=Deva mua=Latn mur=Latn mus=Latn mva=Latn mvn=Latn mvy=Arab mwk=Latn "
    "mwr=Deva mwv=Latn mxc=Latn mxm=Latn my=Mymr myk=Latn mym=Ethi myv=Cyrl myw=Latn myx=Latn myz=Mand mzk=Latn "
    "mzm=Latn mzn=Arab mzp=Latn mzw=Latn mzz=Latn na=Latn nac=Latn naf=Latn nak=Latn nan=Hans nap=Latn naq=Latn "
    "nas=Latn nb=Latn nca=Latn nce=Latn ncf=Latn nch=Latn nco=Latn ncu=Latn nd=Latn ndc=Latn nds=Latn ne=Deva "
    "neb=Latn new=Deva nex=Latn nfr=Latn ng=Latn nga=Latn ngb=Latn ngl=Latn nhb=Latn nhe=Latn nhw=Latn nif=Latn "
    "nii=Latn nij=Latn nin=Latn niu=Latn niy=Latn niz=Latn njo=Latn nkg=Latn nko=Latn nl=Latn nmg=Latn nmz=Latn "
    "nn=Latn nnf=Latn nnh=Latn nnk=Latn nnm=Latn no=Latn nod=Lana noe=Deva non=Runr nop=Latn nou=Latn nqo=Nkoo "
    "nr=Latn nrb=Latn nsk=Cans nsn=Latn nso=Latn nss=Latn ntm=Latn ntr=Latn nui=Latn nup=Latn nus=Latn nuv=Latn "
    "nux=Latn nv=Latn nwb=Latn nxq=Latn nxr=Latn ny=Latn nym=Latn nyn=Latn nzi=Latn oc=Latn ogc=Latn okr=Latn "
    "okv=Latn om=Latn ong=Latn onn=Latn ons=Latn opm=Latn or=Orya oro=Latn oru=Arab os=Cyrl osa=Osge ota=Arab "
    "otk=Orkh ozm=Latn pa=Guru pa-PK=Arab pag=Latn pal=Phli pam=Latn pap=Latn pau=Latn pbi=Latn pcd=Latn pcm=Latn "
    "pdc=Latn pdt=Latn ped=Latn peo=Xpeo pex=Latn pfl=Latn phl=Arab phn=Phnx pil=Latn pip=Latn pka=Brah pko=Latn "
    "pl=Latn pla=Latn pms=Latn png=Latn pnn=Latn pnt=Grek pon=Latn ppo=Latn pra=Khar prd=Arab prg=Latn ps=Arab "
    "pss=Latn pt=Latn ptp=Latn puu=Latn pwa=Latn qu=Latn quc=Latn qug=Latn rai=Latn raj=Deva rao=Latn rcf=Latn "
    "rej=Latn rel=Latn res=Latn rgn=Latn rhg=Arab ria=Latn rif=Tfng rif-NL=Latn rjs=Deva rkt=Beng rm=Latn rmf=Latn "
    "rmo=Latn rmt=Arab rmu=Latn rn=Latn rna=Latn rng=Latn ro=Latn rob=Latn rof=Latn roo=Latn rro=Latn rtm=Latn "
    "ru=Cyrl rue=Cyrl rug=Latn rw=Latn rwk=Latn rwo=Latn ryu=Kana sa=Deva saf=Latn sah=Cyrl saq=Latn sas=Latn "
    "sat=Latn saz=Saur sba=Latn sbe=Latn sbp=Latn sc=Latn sck=Deva scl=Arab scn=Latn sco=Latn scs=Latn sd=Arab "
    "sdc=Latn sdh=Arab se=Latn sef=Latn seh=Latn sei=Latn ses=Latn sg=Latn sga=Ogam sgs=Latn sgw=Ethi sgz=Latn "
    "sh=Latn shi=Tfng shk=Latn shn=Mymr shu=Arab si=Sinh sid=Latn sig=Latn sil=Latn sim=Latn sjr=Latn sk=Latn "
    "skc=Latn skr=Arab sks=Latn sl=Latn sld=Latn sli=Latn sll=Latn sly=Latn sm=Latn sma=Latn smj=Latn smn=Latn "
    "smp=Samr smq=Latn sms=Latn sn=Latn snc=Latn snk=Latn snp=Latn snx=Latn sny=Latn so=Latn sok=Latn soq=Latn "
    "sou=Thai soy=Latn spd=Latn spl=Latn sps=Latn sq=Latn sr=Cyrl sr-ME=Latn sr-RO=Latn sr-RU=Latn sr-TR=Latn "
    "srb=Sora srn=Latn srr=Latn srx=Deva ss=Latn ssd=Latn ssg=Latn ssy=Latn st=Latn stk=Latn stq=Latn su=Latn "
    "sua=Latn sue=Latn suk=Latn sur=Latn sus=Latn sv=Latn sw=Latn swb=Arab swc=Latn swg=Latn swp=Latn swv=Deva "
    "sxn=Latn sxw=Latn syl=Beng syr=Syrc szl=Latn ta=Taml taj=Deva tal=Latn tan=Latn taq=Latn tbc=Latn tbd=Latn "
    "tbf=Latn tbg=Latn tbo=Latn tbw=Latn tbz=Latn tci=Latn tcy=Knda tdd=Tale tdg=Deva tdh=Deva te=Telu ted=Latn "
    "tem=Latn teo=Latn tet=Latn tfi=Latn tg=Cyrl tg-PK=Arab tgc=Latn tgo=Latn tgu=Latn th=Thai thl=Deva thq=Deva "
    "thr=Deva ti=Ethi tif=Latn tig=Ethi tik=Latn tim=Latn tio=Latn tiv=Latn tk=Latn tkl=Latn tkr=Latn tkt=Deva "
    "tl=Latn tlf=Latn tlx=Latn tly=Latn tmh=Latn tmy=Latn tn=Latn tnh=Latn to=Latn tof=Latn tog=Latn toq=Latn "
    "tpi=Latn tpm=Latn tpz=Latn tqo=Latn tr=Latn tru=Latn trv=Latn trw=Arab ts=Latn tsd=Grek tsf=Deva tsg=Latn "
    "tsj=Tibt tsw=Latn tt=Cyrl ttd=Latn tte=Latn ttj=Latn ttr=Latn tts=Thai ttt=Latn tuh=Latn tul=Latn tum=Latn "
    "tuq=Latn tvd=Latn tvl=Latn tvu=Latn twh=Latn twq=Latn txg=Tang ty=Latn tya=Latn tyv=Cyrl tzm=Latn ubu=Latn "
    "udm=Cyrl ug=Arab ug-KZ=Cyrl ug-MN=Cyrl uga=Ugar uk=Cyrl uli=Latn umb=Latn unr=Beng unr-NP=Deva unx=Beng "
    "ur=Arab uri=Latn urt=Latn urw=Latn usa=Latn utr=Latn uvh=Latn uvl=Latn uz=Latn uz-AF=Arab uz-CN=Cyrl vag=Latn "
    "vai=Vaii van=Latn ve=Latn vec=Latn vep=Latn vi=Latn vic=Latn viv=Latn vls=Latn vmf=Latn vmw=Latn vo=Latn "
    "vot=Latn vro=Latn vun=Latn vut=Latn wa=Latn wae=Latn waj=Latn wal=Ethi wan=Latn war=Latn wbp=Latn wbq=Telu "
    "wbr=Deva wci=Latn wer=Latn wgi=Latn whg=Latn wib=Latn wiu=Latn wiv=Latn wja=Latn wji=Latn wls=Latn wmo=Latn "
    "wnc=Latn wni=Arab wnu=Latn wo=Latn wob=Latn wos=Latn wrs=Latn wsk=Latn wtm=Deva wuu=Hans wuv=Latn wwa=Latn "
    "xav=Latn xbi=Latn xcr=Cari xes=Latn xh=Latn xla=Latn xlc=Lyci xld=Lydi xmf=Geor xmn=Mani xmr=Merc xna=Narb "
    "xnr=Deva xog=Latn xon=Latn xpr=Prti xrb=Latn xsa=Sarb xsi=Latn xsm=Latn xsr=Deva xwe=Latn yam=Latn yao=Latn "
    "yap=Latn yas=Latn yat=Latn yav=Latn yay=Latn yaz=Latn yba=Latn ybb=Latn yby=Latn yer=Latn ygr=Latn ygw=Latn "
    "yi=Hebr yko=Latn yle=Latn ylg=Latn yll=Latn yml=Latn yo=Latn yon=Latn yrb=Latn yre=Latn yrl=Latn yss=Latn "
    "yua=Latn yue=Hant yue-CN=Hans yuj=Latn yut=Latn yuw=Latn za=Latn zag=Latn zdj=Arab zea=Latn zgh=Tfng zh=Hans "
    "zh-AU=Hant zh-BN=Hant zh-GB=Hant zh-GF=Hant zh-HK=Hant zh-ID=Hant zh-MO=Hant zh-MY=Hant zh-PA=Hant zh-PF=Hant "
    "zh-PH=Hant zh-SR=Hant zh-TH=Hant zh-TW=Hant zh-US=Hant zh-VN=Hant zia=Latn zlm=Latn zmi=Latn zne=Latn zu=Latn "
    "zza=Latn "    ;

// Parents of regional variants, by script (CLDR parent locales); others fall back to the bare language.
constexpr const char* kArabParents =
    "ar-DZ>ar-015 ar-EH>ar-015 ar-LY>ar-015 ar-MA>ar-015 ar-TN>ar-015 ";
constexpr const char* kHantParents =
    "zh-Hant-MO>zh-Hant-HK ";
constexpr const char* kLatnParents =
    "en-150>en-001 en-AG>en-001 en-AI>en-001 en-AT>en-150 en-AU>en-001 en-BB>en-001 en-BE>en-001 en-BM>en-001 "
    "en-BS>en-001 en-BW>en-001 en-BZ>en-001 en-CA>en-001 en-CC>en-001 en-CH>en-150 en-CK>en-001 en-CM>en-001 "
    "en-CX>en-001 en-CY>en-001 en-DE>en-150 en-DG>en-001 en-DK>en-150 en-DM>en-001 en-ER>en-001 en-FI>en-150 "
    "en-FJ>en-001 en-FK>en-001 en-FM>en-001 en-GB>en-001 en-GD>en-001 en-GG>en-001 en-GH>en-001 en-GI>en-001 "
    "en-GM>en-001 en-GY>en-001 en-HK>en-001 en-IE>en-001 en-IL>en-001 en-IM>en-001 en-IN>en-001 en-IO>en-001 "
    "en-JE>en-001 en-JM>en-001 en-KE>en-001 en-KI>en-001 en-KN>en-001 en-KY>en-001 en-LC>en-001 en-LR>en-001 "
    "en-LS>en-001 en-MG>en-001 en-MO>en-001 en-MS>en-001 en-MT>en-001 en-MU>en-001 en-MW>en-001 en-MY>en-001 "
    "en-NA>en-001 en-NF>en-001 en-NG>en-001 en-NL>en-150 en-NR>en-001 en-NU>en-001 en-NZ>en-001 en-PG>en-001 "
    "en-PH>en-001 en-PK>en-001 en-PN>en-001 en-PW>en-001 en-RW>en-001 en-SB>en-001 en-SC>en-001 en-SD>en-001 "
    "en-SE>en-150 en-SG>en-001 en-SH>en-001 en-SI>en-150 en-SL>en-001 en-SS>en-001 en-SX>en-001 en-SZ>en-001 "
    "en-TC>en-001 en-TK>en-001 en-TO>en-001 en-TT>en-001 en-TV>en-001 en-TZ>en-001 en-UG>en-001 en-VC>en-001 "
    "en-VG>en-001 en-VU>en-001 en-WS>en-001 en-ZA>en-001 en-ZM>en-001 en-ZW>en-001 es-AR>es-419 es-BO>es-419 "
    "es-BR>es-419 es-CL>es-419 es-CO>es-419 es-CR>es-419 es-CU>es-419 es-DO>es-419 es-EC>es-419 es-GT>es-419 "
    "es-HN>es-419 es-MX>es-419 es-NI>es-419 es-PA>es-419 es-PE>es-419 es-PR>es-419 es-PY>es-419 es-SV>es-419 "
    "es-US>es-419 es-UY>es-419 es-VE>es-419 pt-AO>pt-PT pt-CH>pt-PT pt-CV>pt-PT pt-GQ>pt-PT pt-GW>pt-PT "
    "pt-LU>pt-PT pt-MO>pt-PT pt-MZ>pt-PT pt-ST>pt-PT pt-TL>pt-PT ";

// Locales that stand for their language and script (language_Script_REGION).
constexpr const char* kRepresentativeLocales =
    "aa_Latn_ET ab_Cyrl_GE abr_Latn_GH ace_Latn_ID ach_Latn_UG ada_Latn_GH ady_Cyrl_RU ae_Avst_IR aeb_Arab_TN "
    "af_Latn_ZA agq_Latn_CM aho_Ahom_IN ak_Latn_GH akk_Xsux_IQ aln_Latn_XK alt_Cyrl_RU am_Ethi_ET amo_Latn_NG "
    "aoz_Latn_ID apd_Arab_TG ar_Arab_EG arc_Armi_IR arc_Nbat_JO arc_Palm_SY arn_Latn_CL aro_Latn_BO arq_Arab_DZ "
    "ary_Arab_MA arz_Arab_EG as_Beng_IN asa_Latn_TZ ase_Sgnw_US ast_Latn_ES atj_Latn_CA av_Cyrl_RU awa_Deva_IN "
    "ay_Latn_BO az_Arab_IR az_Latn_AZ ba_Cyrl_RU bal_Arab_PK ban_Latn_ID bap_Deva_NP bar_Latn_AT bas_Latn_CM "
    "bax_Bamu_CM bbc_Latn_ID bbj_Latn_CM bci_Latn_CI be_Cyrl_BY bej_Arab_SD bem_Latn_ZM bew_Latn_ID bez_Latn_TZ "
    "bfd_Latn_CM bfq_Taml_IN bft_Arab_PK bfy_Deva_IN bg_Cyrl_BG bgc_Deva_IN bgn_Arab_PK bgx_Grek_TR bhb_Deva_IN "
    "bhi_Deva_IN bhk_Latn_PH bho_Deva_IN bi_Latn_VU bik_Latn_PH bin_Latn_NG bjj_Deva_IN bjn_Latn_ID bkm_Latn_CM "
    "bku_Latn_PH blt_Tavt_VN bm_Latn_ML bmq_Latn_ML bn_Beng_BD bo_Tibt_CN bpy_Beng_IN bqi_Arab_IR bqv_Latn_CI "
    "br_Latn_FR bra_Deva_IN brh_Arab_PK brx_Deva_IN bs_Latn_BA bsq_Bass_LR bss_Latn_CM bto_Latn_PH btv_Deva_PK "
    "bua_Cyrl_RU buc_Latn_YT bug_Latn_ID bum_Latn_CM bvb_Latn_GQ byn_Ethi_ER byv_Latn_CM bze_Latn_ML ca_Latn_ES "
    "cch_Latn_NG ccp_Beng_IN ccp_Cakm_BD ce_Cyrl_RU ceb_Latn_PH cgg_Latn_UG ch_Latn_GU chk_Latn_FM chm_Cyrl_RU "
    "cho_Latn_US chp_Latn_CA chr_Cher_US cja_Arab_KH cjm_Cham_VN ckb_Arab_IQ co_Latn_FR cop_Copt_EG cps_Latn_PH "
    "cr_Cans_CA crj_Cans_CA crk_Cans_CA crl_Cans_CA crm_Cans_CA crs_Latn_SC cs_Latn_CZ csb_Latn_PL csw_Cans_CA "
    "ctd_Pauc_MM cu_Cyrl_RU cu_Glag_BG cv_Cyrl_RU cy_Latn_GB da_Latn_DK dak_Latn_US dar_Cyrl_RU dav_Latn_KE "
    "dcc_Arab_IN de_Latn_DE den_Latn_CA dgr_Latn_CA dje_Latn_NE dnj_Latn_CI doi_Arab_IN dsb_Latn_DE dtm_Latn_ML "
    "dtp_Latn_MY dty_Deva_NP dua_Latn_CM dv_Thaa_MV dyo_Latn_SN dyu_Latn_BF dz_Tibt_BT ebu_Latn_KE ee_Latn_GH "
    "efi_Latn_NG egl_Latn_IT egy_Egyp_EG eky_Kali_MM el_Grek_GR en_Latn_GB en_Latn_US en_Shaw_GB es_Latn_ES "
    "es_Latn_MX es_Latn_US esu_Latn_US et_Latn_EE ett_Ital_IT eu_Latn_ES ewo_Latn_CM ext_Latn_ES fa_Arab_IR "
    "fan_Latn_GQ ff_Adlm_GN ff_Latn_SN ffm_Latn_ML fi_Latn_FI fia_Arab_SD fil_Latn_PH fit_Latn_SE fj_Latn_FJ "
    "fo_Latn_FO fon_Latn_BJ fr_Latn_FR frc_Latn_US frp_Latn_FR frr_Latn_DE frs_Latn_DE fub_Arab_CM fud_Latn_WF "
    "fuf_Latn_GN fuq_Latn_NE fur_Latn_IT fuv_Latn_NG fvr_Latn_SD fy_Latn_NL ga_Latn_IE gaa_Latn_GH gag_Latn_MD "
    "gan_Hans_CN gay_Latn_ID gbm_Deva_IN gbz_Arab_IR gcr_Latn_GF gd_Latn_GB gez_Ethi_ET ggn_Deva_NP gil_Latn_KI "
    "gjk_Arab_PK gju_Arab_PK gl_Latn_ES glk_Arab_IR gn_Latn_PY gom_Deva_IN gon_Telu_IN gor_Latn_ID gos_Latn_NL "
    "got_Goth_UA grc_Cprt_CY grc_Linb_GR grt_Beng_IN gsw_Latn_CH gu_Gujr_IN gub_Latn_BR guc_Latn_CO gur_Latn_GH "
    "guz_Latn_KE gv_Latn_IM gvr_Deva_NP gwi_Latn_CA ha_Latn_NG hak_Hans_CN haw_Latn_US haz_Arab_AF he_Hebr_IL "
    "hi_Deva_IN hif_Latn_FJ hil_Latn_PH hlu_Hluw_TR hmd_Plrd_CN hnd_Arab_PK hne_Deva_IN hnj_Hmng_LA hnn_Latn_PH "
    "hno_Arab_PK ho_Latn_PG hoc_Deva_IN hoj_Deva_IN hr_Latn_HR hsb_Latn_DE hsn_Hans_CN ht_Latn_HT hu_Latn_HU "
    "hy_Armn_AM hz_Latn_NA ia_Latn_FR iba_Latn_MY ibb_Latn_NG id_Latn_ID ig_Latn_NG ii_Yiii_CN ik_Latn_US "
    "ikt_Latn_CA ilo_Latn_PH in_Latn_ID inh_Cyrl_RU is_Latn_IS it_Latn_IT iu_Cans_CA iw_Hebr_IL izh_Latn_RU "
    "ja_Jpan_JP jam_Latn_JM jgo_Latn_CM jmc_Latn_TZ jml_Deva_NP jut_Latn_DK jv_Latn_ID jw_Latn_ID ka_Geor_GE "
    "kaa_Cyrl_UZ kab_Latn_DZ kac_Latn_MM kaj_Latn_NG kam_Latn_KE kao_Latn_ML kbd_Cyrl_RU kby_Arab_NE kcg_Latn_NG "
    "kck_Latn_ZW kde_Latn_TZ kdh_Arab_TG kdt_Thai_TH kea_Latn_CV ken_Latn_CM kfo_Latn_CI kfr_Deva_IN kfy_Deva_IN "
    "kg_Latn_CD kge_Latn_ID kgp_Latn_BR kha_Latn_IN khb_Talu_CN khn_Deva_IN khq_Latn_ML kht_Mymr_IN khw_Arab_PK "
    "ki_Latn_KE kiu_Latn_TR kj_Latn_NA kjg_Laoo_LA kk_Arab_CN kk_Cyrl_KZ kkj_Latn_CM kl_Latn_GL kln_Latn_KE "
    "km_Khmr_KH kmb_Latn_AO kn_Knda_IN ko_Kore_KR koi_Cyrl_RU kok_Deva_IN kos_Latn_FM kpe_Latn_LR krc_Cyrl_RU "
    "kri_Latn_SL krj_Latn_PH krl_Latn_RU kru_Deva_IN ks_Arab_IN ksb_Latn_TZ ksf_Latn_CM ksh_Latn_DE ku_Arab_IQ "
    "ku_Latn_TR kum_Cyrl_RU kv_Cyrl_RU kvr_Latn_ID kvx_Arab_PK kw_Latn_GB kxm_Thai_TH kxp_Arab_PK ky_Arab_CN "
    "ky_Cyrl_KG ky_Latn_TR la_Latn_VA lab_Lina_GR lad_Hebr_IL lag_Latn_TZ lah_Arab_PK laj_Latn_UG lb_Latn_LU "
    "lbe_Cyrl_RU lbw_Latn_ID lcp_Thai_CN lep_Lepc_IN lez_Cyrl_RU lg_Latn_UG li_Latn_NL lif_Deva_NP lif_Limb_IN "
    "lij_Latn_IT lis_Lisu_CN ljp_Latn_ID lki_Arab_IR lkt_Latn_US lmn_Telu_IN lmo_Latn_IT ln_Latn_CD lo_Laoo_LA "
    "lol_Latn_CD loz_Latn_ZM lrc_Arab_IR lt_Latn_LT ltg_Latn_LV lu_Latn_CD lua_Latn_CD luo_Latn_KE luy_Latn_KE "
    "luz_Arab_IR lv_Latn_LV lwl_Thai_TH lzh_Hans_CN lzz_Latn_TR mad_Latn_ID maf_Latn_CM mag_Deva_IN mai_Deva_IN "
    "mak_Latn_ID man_Latn_GM man_Nkoo_GN mas_Latn_KE maz_Latn_MX mdf_Cyrl_RU mdh_Latn_PH mdr_Latn_ID men_Latn_SL "
    "mer_Latn_KE mfa_Arab_TH mfe_Latn_MU mg_Latn_MG mgh_Latn_MZ mgo_Latn_CM mgp_Deva_NP mgy_Latn_TZ mh_Latn_MH "
    "mi_Latn_NZ min_Latn_ID mis_Hatr_IQ mk_Cyrl_MK ml_Mlym_IN mls_Latn_SD mn_Cyrl_MN mn_Mong_CN mni_Beng_IN "
    "mnw_Mymr_MM moe_Latn_CA moh_Latn_CA mos_Latn_BF mr_Deva_IN mrd_Deva_NP mrj_Cyrl_RU mro_Mroo_BD ms_Latn_MY "
    "mt_Latn_MT mtr_Deva_IN mua_Latn_CM mus_Latn_US mvy_Arab_PK mwk_Latn_ML mwr_Deva_IN mwv_Latn_ID mxc_Latn_ZW "
    "my_Mymr_MM myv_Cyrl_RU myx_Latn_UG myz_Mand_IR mzn_Arab_IR na_Latn_NR nan_Hans_CN nap_Latn_IT naq_Latn_NA "
    "nb_Latn_NO nch_Latn_MX nd_Latn_ZW ndc_Latn_MZ nds_Latn_DE ne_Deva_NP new_Deva_NP ng_Latn_NA ngl_Latn_MZ "
    "nhe_Latn_MX nhw_Latn_MX nij_Latn_ID niu_Latn_NU njo_Latn_IN nl_Latn_NL nmg_Latn_CM nn_Latn_NO nnh_Latn_CM "
    "no_Latn_NO nod_Lana_TH noe_Deva_IN non_Runr_SE nqo_Nkoo_GN nr_Latn_ZA nsk_Cans_CA nso_Latn_ZA nus_Latn_SS "
    "nv_Latn_US nxq_Latn_CN ny_Latn_MW nym_Latn_TZ nyn_Latn_UG nzi_Latn_GH oc_Latn_FR om_Latn_ET or_Orya_IN "
    "os_Cyrl_GE osa_Osge_US otk_Orkh_MN pa_Arab_PK pa_Guru_IN pag_Latn_PH pal_Phli_IR pal_Phlp_CN pam_Latn_PH "
    "pap_Latn_AW pau_Latn_PW pcd_Latn_FR pcm_Latn_NG pdc_Latn_US pdt_Latn_CA peo_Xpeo_IR pfl_Latn_DE phn_Phnx_LB "
    "pka_Brah_IN pko_Latn_KE pl_Latn_PL pms_Latn_IT pnt_Grek_GR pon_Latn_FM pra_Khar_PK prd_Arab_IR ps_Arab_AF "
    "pt_Latn_BR puu_Latn_GA qu_Latn_PE quc_Latn_GT qug_Latn_EC raj_Deva_IN rcf_Latn_RE rej_Latn_ID rgn_Latn_IT "
    "ria_Latn_IN rif_Tfng_MA rjs_Deva_NP rkt_Beng_BD rm_Latn_CH rmf_Latn_FI rmo_Latn_CH rmt_Arab_IR rmu_Latn_SE "
    "rn_Latn_BI rng_Latn_MZ ro_Latn_RO rob_Latn_ID rof_Latn_TZ rtm_Latn_FJ ru_Cyrl_RU rue_Cyrl_UA rug_Latn_SB "
    "rw_Latn_RW rwk_Latn_TZ ryu_Kana_JP sa_Deva_IN saf_Latn_GH sah_Cyrl_RU saq_Latn_KE sas_Latn_ID sat_Latn_IN "
    "saz_Saur_IN sbp_Latn_TZ sc_Latn_IT sck_Deva_IN scn_Latn_IT sco_Latn_GB scs_Latn_CA sd_Arab_PK sd_Deva_IN "
    "sd_Khoj_IN sd_Sind_IN sdc_Latn_IT sdh_Arab_IR se_Latn_NO sef_Latn_CI seh_Latn_MZ sei_Latn_MX ses_Latn_ML "
    "sg_Latn_CF sga_Ogam_IE sgs_Latn_LT shi_Tfng_MA shn_Mymr_MM si_Sinh_LK sid_Latn_ET sk_Latn_SK skr_Arab_PK "
    "sl_Latn_SI sli_Latn_PL sly_Latn_ID sm_Latn_WS sma_Latn_SE smj_Latn_SE smn_Latn_FI smp_Samr_IL sms_Latn_FI "
    "sn_Latn_ZW snk_Latn_ML so_Latn_SO sou_Thai_TH sq_Latn_AL sr_Cyrl_RS sr_Latn_RS srb_Sora_IN srn_Latn_SR "
    "srr_Latn_SN srx_Deva_IN ss_Latn_ZA ssy_Latn_ER st_Latn_ZA stq_Latn_DE su_Latn_ID suk_Latn_TZ sus_Latn_GN "
    "sv_Latn_SE sw_Latn_TZ swb_Arab_YT swc_Latn_CD swg_Latn_DE swv_Deva_IN sxn_Latn_ID syl_Beng_BD syr_Syrc_IQ "
    "szl_Latn_PL ta_Taml_IN taj_Deva_NP tbw_Latn_PH tcy_Knda_IN tdd_Tale_CN tdg_Deva_NP tdh_Deva_NP te_Telu_IN "
    "tem_Latn_SL teo_Latn_UG tet_Latn_TL tg_Arab_PK tg_Cyrl_TJ th_Thai_TH thl_Deva_NP thq_Deva_NP thr_Deva_NP "
    "ti_Ethi_ET tig_Ethi_ER tiv_Latn_NG tk_Latn_TM tkl_Latn_TK tkr_Latn_AZ tkt_Deva_NP tl_Latn_PH tly_Latn_AZ "
    "tmh_Latn_NE tn_Latn_ZA to_Latn_TO tog_Latn_MW tpi_Latn_PG tr_Latn_TR tru_Latn_TR trv_Latn_TW ts_Latn_ZA "
    "tsd_Grek_GR tsf_Deva_NP tsg_Latn_PH tsj_Tibt_BT tt_Cyrl_RU ttj_Latn_UG tts_Thai_TH ttt_Latn_AZ tum_Latn_MW "
    "tvl_Latn_TV twq_Latn_NE txg_Tang_CN ty_Latn_PF tyv_Cyrl_RU tzm_Latn_MA udm_Cyrl_RU ug_Arab_CN ug_Cyrl_KZ "
    "uga_Ugar_SY uk_Cyrl_UA uli_Latn_FM umb_Latn_AO unr_Beng_IN unr_Deva_NP unx_Beng_IN ur_Arab_PK uz_Arab_AF "
    "uz_Latn_UZ vai_Vaii_LR ve_Latn_ZA vec_Latn_IT vep_Latn_RU vi_Latn_VN vic_Latn_SX vls_Latn_BE vmf_Latn_DE "
    "vmw_Latn_MZ vot_Latn_RU vro_Latn_EE vun_Latn_TZ wa_Latn_BE wae_Latn_CH wal_Ethi_ET war_Latn_PH wbp_Latn_AU "
    "wbq_Telu_IN wbr_Deva_IN wls_Latn_WF wni_Arab_KM wo_Latn_SN wtm_Deva_IN wuu_Hans_CN xav_Latn_BR xcr_Cari_TR "
    "xh_Latn_ZA xlc_Lyci_TR xld_Lydi_TR xmf_Geor_GE xmn_Mani_CN xmr_Merc_SD xna_Narb_SA xnr_Deva_IN xog_Latn_UG "
    "xpr_Prti_IR xsa_Sarb_YE xsr_Deva_NP yao_Latn_MZ yap_Latn_FM yav_Latn_CM ybb_Latn_CM yo_Latn_NG yrl_Latn_BR "
    "yua_Latn_MX yue_Hans_CN yue_Hant_HK za_Latn_CN zag_Latn_SD zdj_Arab_KM zea_Latn_NL zgh_Tfng_MA zh_Bopo_TW "
    "zh_Hanb_TW zh_Hans_CN zh_Hant_TW zlm_Latn_TG zmi_Latn_MY zu_Latn_ZA zza_Latn_TR ";

// "key=value" or "key>value" items separated by spaces.
std::unordered_map<std::string_view, std::string_view> ParsePairs(std::string_view all, char separator) {
  std::unordered_map<std::string_view, std::string_view> map;
  std::size_t at = 0;
  while (at < all.size()) {
    std::size_t end = all.find(' ', at);
    if (end == std::string_view::npos) end = all.size();
    const std::string_view item = all.substr(at, end - at);
    const std::size_t sep = item.find(separator);
    if (sep != std::string_view::npos) map.emplace(item.substr(0, sep), item.substr(sep + 1));
    at = end + 1;
  }
  return map;
}

const std::unordered_map<std::string_view, std::string_view>& LikelyScripts() {
  static const auto table = ParsePairs(kLikelyScripts, '=');
  return table;
}

const std::unordered_map<std::string_view, std::string_view>* ParentsFor(const std::string& script) {
  static const auto arab = ParsePairs(kArabParents, '>');
  static const auto hant = ParsePairs(kHantParents, '>');
  static const auto latn = ParsePairs(kLatnParents, '>');
  if (script == "Arab") return &arab;
  if (script == "Hant") return &hant;
  if (script == "Latn") return &latn;
  return nullptr;
}

}  // namespace

std::string ParentLocale(const std::string& language, const std::string& region, const std::string& script) {
  if (region.empty()) return {};
  if (const auto* parents = ParentsFor(script)) {
    const auto it = parents->find(language + "-" + region);
    if (it != parents->end()) return std::string(it->second);
  }
  return language;
}

bool IsRepresentativeLocale(const std::string& language, const std::string& region, const std::string& script) {
  static const auto all = [] {
    std::unordered_set<std::string_view> names;
    const std::string_view text(kRepresentativeLocales);
    std::size_t at = 0;
    while (at < text.size()) {
      std::size_t end = text.find(' ', at);
      if (end == std::string_view::npos) end = text.size();
      if (end > at) names.insert(text.substr(at, end - at));
      at = end + 1;
    }
    return names;
  }();
  return all.count(language + "_" + script + "_" + region) != 0;
}

std::string LikelyScript(const std::string& language, const std::string& region) {
  if (language.empty()) return {};
  const auto& table = LikelyScripts();
  if (!region.empty()) {
    const auto it = table.find(language + "-" + region);
    if (it != table.end()) return std::string(it->second);
  }
  const auto it = table.find(language);
  return it == table.end() ? std::string() : std::string(it->second);
}

}  // namespace apk
